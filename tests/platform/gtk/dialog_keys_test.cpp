// Clicks, keys and the close command, as the handler sees them over GTK.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/platform/gtk/gtk_test_dialog.h"

namespace {

using Commands = std::vector<std::pair<int, int>>;
constexpr int kEditChange = 0x0300;

bool marked(WindowHandle dialog, int id) {
  return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widgetOf(dialog, id)));
}

std::vector<int> markedSetButtons(WindowHandle dialog) {
  std::vector<int> ids;
  for (int id : {1010, 1014, 1018, 1022, 1030}) {
    if (marked(dialog, id)) ids.push_back(id);
  }
  return ids;
}

int focusedId(WindowHandle dialog) {
  const WindowHandle focus = focusedWindow();
  for (const ControlLayout& c : MainWindowLayout) {
    if (controlWindow(dialog, c.id) == focus) return c.id;
  }
  return 0;
}

// Presses the key and waits until the focus has left `from`.
int focusAfter(WindowHandle dialog, const char* keys) {
  const int from = focusedId(dialog);
  pressKey(keys);
  pumpUntil([&] { return focusedId(dialog) != from; });
  return focusedId(dialog);
}

TEST(GtkControls, SetButtonsFormOneGroupWithNoneMarkedAtFirst) {
  const WindowHandle dialog = makeMainWindow();
  runScripted(dialog, [dialog] {
    EXPECT_EQ(markedSetButtons(dialog), std::vector<int>{});
    gtk_button_clicked(GTK_BUTTON(widgetOf(dialog, 1014)));
    EXPECT_EQ(markedSetButtons(dialog), std::vector<int>{1014});
    gtk_button_clicked(GTK_BUTTON(widgetOf(dialog, 1030)));
    EXPECT_EQ(markedSetButtons(dialog), std::vector<int>{1030});
    EXPECT_EQ(seenCommands(), (Commands{{1014, kNotifyClicked}, {1030, kNotifyClicked}}));

    // The program's own marks send no command; a cleared mark leaves none.
    setControlCheck(dialog, 1010, 1);
    EXPECT_EQ(markedSetButtons(dialog), std::vector<int>{1010});
    setControlCheck(dialog, 1010, 0);
    EXPECT_EQ(markedSetButtons(dialog), std::vector<int>{});
    // Check boxes toggle on each click.
    setControlCheck(dialog, 1003, 1);
    gtk_button_clicked(GTK_BUTTON(widgetOf(dialog, 1003)));
    EXPECT_FALSE(marked(dialog, 1003));
    gtk_button_clicked(GTK_BUTTON(widgetOf(dialog, 1003)));
    EXPECT_TRUE(marked(dialog, 1003));
    EXPECT_EQ(seenCommands(), (Commands{{1014, kNotifyClicked},
                                        {1030, kNotifyClicked},
                                        {1003, kNotifyClicked},
                                        {1003, kNotifyClicked}}));
    endDialog(dialog, 0);
  });
}

TEST(GtkControls, TabWalksTheControlsInCreationOrderSkippingTheFrames) {
  const WindowHandle dialog = makeMainWindow();
  runScripted(dialog, [dialog] {
    // A marked "set" button must not make Tab skip the others.
    gtk_button_clicked(GTK_BUTTON(widgetOf(dialog, 1014)));
    focusWindow(controlWindow(dialog, 1001));
    std::vector<int> walked{focusedId(dialog)};
    for (std::size_t i = 0; i < MainWindowLayout.size() - 2; ++i) {
      walked.push_back(focusAfter(dialog, "Tab"));
    }
    std::vector<int> expected;
    for (const ControlLayout& c : MainWindowLayout) {
      if (c.kind != ControlKind::GroupBox) expected.push_back(c.id);
    }
    expected.push_back(1001);  // round to the first again
    EXPECT_EQ(walked, expected);
    EXPECT_EQ(focusAfter(dialog, "shift+Tab"), 1035);
    endDialog(dialog, 0);
  });
}

TEST(GtkControls, EnterAndEscOnlyReachTheHandlerAsCommandsOneAndTwo) {
  const WindowHandle dialog = makeMainWindow();
  runScripted(dialog, [dialog] {
    for (int id : {1007, 1003}) {  // an edit box, a check box
      focusWindow(controlWindow(dialog, id));
      pressKey("Return");
      pressKey("Escape");
    }
    EXPECT_TRUE(pumpUntil([] { return seenCommands().size() >= 4; }));
    EXPECT_FALSE(marked(dialog, 1003));
    // Enter on a push button clicks it.
    focusWindow(controlWindow(dialog, 1024));
    pressKey("Return");
    EXPECT_TRUE(pumpUntil([] { return seenCommands().size() >= 5; }));
    EXPECT_EQ(seenCommands(), (Commands{{kIdOk, kNotifyClicked},
                                        {kIdCancel, kNotifyClicked},
                                        {kIdOk, kNotifyClicked},
                                        {kIdCancel, kNotifyClicked},
                                        {1024, kNotifyClicked}}));
    EXPECT_TRUE(gtk_dialog::dialogExists(dialog));
    endDialog(dialog, 7);
  });
}

TEST(GtkControls, ASwitchToAnotherWindowIsSeenAsActivationAndKeepsTheFocus) {
  const WindowHandle dialog = makeMainWindow();
  runScripted(dialog, [dialog] {
    focusWindow(controlWindow(dialog, 1012));
    GtkWidget* other = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_widget_show(other);
    gtk_window_present(GTK_WINDOW(other));
    EXPECT_TRUE(pumpUntil([other] { return gtk_window_is_active(GTK_WINDOW(other)); }));
    EXPECT_FALSE(gtk_window_is_active(GTK_WINDOW(windowOf(dialog))));
    gtk_window_present(GTK_WINDOW(windowOf(dialog)));
    EXPECT_TRUE(pumpUntil([dialog] { return gtk_window_is_active(GTK_WINDOW(windowOf(dialog))); }));
    gtk_widget_destroy(other);
    std::vector<MessageParam> activations;
    for (const SeenMessage& seen : seenMessages) {
      if (seen.message == kMsgNcActivate) activations.push_back(seen.wParam);
    }
    EXPECT_EQ(activations, (std::vector<MessageParam>{1, 0, 1}));
    EXPECT_EQ(focusedId(dialog), 1012);
    endDialog(dialog, 0);
  });
}

struct CloseCase {
  const char* name;
  void (*close)(WindowHandle dialog);
};

const CloseCase kCloses[] = {
    {"Alt+F4", [](WindowHandle) { pressKey("alt+F4"); }},
    {"window manager", [](WindowHandle d) { gtk_window_close(GTK_WINDOW(windowOf(d))); }},
};

TEST(GtkControls, TheCloseCommandEndsTheRunWithZero) {
  for (const CloseCase& c : kCloses) {
    SCOPED_TRACE(c.name);
    const WindowHandle dialog = makeMainWindow();
    EXPECT_EQ(runScripted(dialog, [dialog, &c] { c.close(dialog); }), 0);
    EXPECT_FALSE(gtk_dialog::dialogExists(dialog));
    std::vector<std::uint32_t> ending;
    for (const SeenMessage& seen : seenMessages) {
      if (seen.message == kMsgSysCommand) {
        EXPECT_EQ(seen.wParam, kSysCommandClose);
      }
      if (seen.message != kMsgCommand && seen.message != kMsgNcActivate) {
        ending.push_back(seen.message);
      }
    }
    EXPECT_EQ(ending, (std::vector<std::uint32_t>{kMsgInitDialog, kMsgSize, kMsgSysCommand,
                                                  kMsgClose, kMsgDestroy, 0x0082}));
  }
}

}  // namespace
