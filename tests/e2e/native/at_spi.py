#!/usr/bin/python3
"""Reads and drives the Brightquill window the way assistive technology does,
through AT-SPI. Controls are found by their accessible names.

  at_spi.py caption             the window's caption
  at_spi.py text NAME           the text of an edit box
  at_spi.py checked NAME        1 when the control is checked, else 0
  at_spi.py press NAME          does the control's first action: a click
  at_spi.py focus NAME          gives an edit box the keyboard focus
  at_spi.py focused             the name of the control with the focus
  at_spi.py names               each control in tab order: role|name
  at_spi.py text-events NAME SECONDS [COMMAND...]
      an edit box's text, caret and selection events (type|text), while
      COMMAND runs and SECONDS after, from when the listener is in place

Exit status 1 (with a message) when the window or the control is not found
within 10 s.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

WINDOW_ROLES = (pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG, pyatspi.ROLE_WINDOW)


def window():
    for application in pyatspi.Registry.getDesktop(0):
        if application is None or application.name != "brightquill":
            continue
        for child in application:
            if child is not None and child.getRole() in WINDOW_ROLES:
                return child
    return None


def find(test):
    deadline = time.monotonic() + 10
    while True:
        top = window()
        found = top if test is None else (
            top and pyatspi.findDescendant(top, test, True))
        if found:
            return found
        if time.monotonic() > deadline:
            sys.exit("not found: %s" % (sys.argv[2:] or "the window"))
        time.sleep(0.2)


def named(name, roles=None):
    return find(lambda a: a is not None and a.name == name and (
        roles is None or a.getRole() in roles))


# An edit box may share its name with the frame around it.
def edit_box(name):
    return named(name, (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY))


def main(command, *names):
    if command == "caption":
        print(find(None).name)
    elif command == "text":
        print(edit_box(names[0]).queryText().getText(0, -1))
    elif command == "checked":
        print(int(named(names[0]).getState().contains(pyatspi.STATE_CHECKED)))
    elif command == "press":
        named(names[0]).queryAction().doAction(0)
    elif command == "focus":
        edit_box(names[0]).queryComponent().grabFocus()
    elif command == "names":
        # The window holds one container, which holds every control.
        for control in find(None)[0]:
            print("%s|%s" % (control.getRoleName(), control.name))
    elif command == "focused":
        print(find(lambda a: a is not None and a.getState().contains(pyatspi.STATE_FOCUSED)).name)
    elif command == "text-events":
        box = edit_box(names[0])
        pyatspi.Registry.registerEventListener(
            lambda e: e.source == box and print("%s|%s" % (e.type, e.any_data or "")),
            "object:text-changed", "object:text-caret-moved", "object:text-selection-changed")
        time.sleep(0.5)  # the program learns of a new listener a moment later
        subprocess.run(names[2:] or ["true"], check=True)
        GLib.timeout_add(int(float(names[1]) * 1000), pyatspi.Registry.stop)
        pyatspi.Registry.start()
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(*sys.argv[1:])
