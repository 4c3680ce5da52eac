#pragma once
// A toolkit dialog run modally on the test's own thread, which is GTK's
// thread for the whole test program, with a script run inside the modal
// loop and a watchdog that ends a dialog that does not end by itself.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <chrono>
#include <functional>
#include <vector>

#include "platform/dialog.h"
#include "platform/gtk/gtk_records.h"
#include "ui/main_window_layout.h"

// The program's main window: its 34 controls and the edit boxes' names.
inline WindowHandle makeMainWindow() {
  const WindowHandle dialog = createDialog(0, kMainWindowCaption, kMainWindowX, kMainWindowY,
                                           kMainWindowWidth, kMainWindowHeight, 0, 0);
  for (const ControlLayout& c : MainWindowLayout) {
    addControl(dialog, c.kind, c.id, c.caption, c.x, c.y, c.width, c.height);
    if (c.accessibleName != nullptr) setControlAccessibleName(dialog, c.id, c.accessibleName);
  }
  return dialog;
}

// Every message the handler saw, in order.
struct SeenMessage {
  std::uint32_t message;
  MessageParam wParam;
};
inline std::vector<SeenMessage> seenMessages;

inline MessageResult recordingHandler(WindowHandle, std::uint32_t message, MessageParam wParam,
                                      MessageParam) {
  seenMessages.push_back({message, wParam});
  return 0;
}

// The WM_COMMANDs the handler saw, as (id, notification code).
inline std::vector<std::pair<int, int>> seenCommands() {
  std::vector<std::pair<int, int>> commands;
  for (const SeenMessage& seen : seenMessages) {
    if (seen.message == kMsgCommand) {
      commands.emplace_back(static_cast<int>(seen.wParam & 0xFFFF),
                            static_cast<int>(seen.wParam >> 16));
    }
  }
  return commands;
}

inline GtkWidget* widgetOf(WindowHandle dialog, int id) {
  const auto control = gtk_dialog::findControl(dialog, id);
  return control ? control->widget : nullptr;
}

inline GtkWidget* windowOf(WindowHandle dialog) {
  const auto record = gtk_dialog::findDialog(dialog);
  return record ? record->window : nullptr;
}

// Handles this thread's events until done() holds; false after a few
// seconds without it, so that a fault fails instead of hanging, or when no
// dialog is left.
template <typename Done>
bool pumpUntil(Done done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (pumpOneMessage(1) == 0) return false;  // the dialog has gone
  }
  return true;
}

// Runs the dialog with recordingHandler; once it is shown and has the
// focus, script() runs inside the modal loop. A dialog still open 10 s later
// is ended with -1 and fails the test.
inline MessageResult runScripted(WindowHandle dialog, std::function<void()> script) {
  struct Run {
    WindowHandle dialog;
    std::function<void()> script;
  } run{dialog, std::move(script)};
  seenMessages.clear();
  const guint start = g_timeout_add(
      10,
      [](gpointer data) -> gboolean {
        auto* run = static_cast<Run*>(data);
        GtkWidget* window = windowOf(run->dialog);
        if (window == nullptr || !gtk_window_is_active(GTK_WINDOW(window))) {
          return G_SOURCE_CONTINUE;
        }
        run->script();
        return G_SOURCE_REMOVE;
      },
      &run);
  const guint watchdog = g_timeout_add(
      10000,
      [](gpointer data) -> gboolean {
        ADD_FAILURE() << "the dialog did not end";
        endDialog(static_cast<Run*>(data)->dialog, -1);
        return G_SOURCE_REMOVE;
      },
      &run);
  const MessageResult result = runModal(dialog, recordingHandler);
  for (guint source : {start, watchdog}) {
    if (GSource* pending = g_main_context_find_source_by_id(nullptr, source)) {
      g_source_destroy(pending);
    }
  }
  return result;
}

// Presses keys the way a person does, through the display's keyboard
// (xdotool's names: "Tab", "shift+Tab", "alt+F4"); waits until xdotool is done.
inline void pressKey(const char* keys) {
  const gchar* command[] = {"xdotool", "key", keys, nullptr};
  gint status = -1;
  EXPECT_TRUE(g_spawn_sync(nullptr, const_cast<gchar**>(command), nullptr, G_SPAWN_SEARCH_PATH,
                           nullptr, nullptr, nullptr, nullptr, &status, nullptr));
  EXPECT_EQ(status, 0) << keys;
}
