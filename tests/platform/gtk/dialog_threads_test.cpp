// Control calls from other threads are carried out by the dialog's thread
// and wait for it, but never for a dialog that has ended or never existed.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "platform/gtk/toolkit_start.h"
#include "tests/platform/gtk/gtk_test_dialog.h"

namespace {

constexpr int kEdit = 1001;
constexpr auto kAtOnce = std::chrono::seconds(2);

WindowHandle makeDialog() {
  const WindowHandle dialog = createDialog(0, "Threads", 10, 10, 100, 40, 0, 0);
  addControl(dialog, ControlKind::EditBox, kEdit, "old", 5, 5, 60, 15);
  return dialog;
}

const char* entryText(WindowHandle dialog) {
  return gtk_entry_get_text(GTK_ENTRY(widgetOf(dialog, kEdit)));
}

// Sets the text from another thread while this one takes no events for
// 200 ms, then takes them: the text must wait, and so must the call.
void expectSetFromAnotherThreadToWait(WindowHandle dialog, const char* text, const char* before) {
  std::atomic<bool> returned{false};
  std::thread clock([&] {
    setControlText(dialog, kEdit, text);
    returned = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(returned);
  EXPECT_STREQ(entryText(dialog), before);
  EXPECT_TRUE(pumpUntil([&] { return returned.load(); }));
  EXPECT_STREQ(entryText(dialog), text);
  clock.join();
}

TEST(GtkThreads, AnotherThreadsTextWaitsUntilTheDialogsThreadHasTakenIt) {
  const WindowHandle dialog = makeDialog();
  expectSetFromAnotherThreadToWait(dialog, "12:00:01", "old");
  // Reading from another thread is handed over the same way.
  auto read = std::async(std::launch::async, [dialog] { return getControlText(dialog, kEdit); });
  EXPECT_TRUE(pumpUntil([&] { return read.wait_for(std::chrono::seconds(0)) ==
                                      std::future_status::ready; }));
  EXPECT_EQ(read.get(), "12:00:01");
  endDialog(dialog, 0);
}

TEST(GtkThreads, TheTextAnEditBoxAlreadyShowsIsNotHandedOverAgain) {
  const WindowHandle dialog = makeDialog();
  setControlText(dialog, kEdit, "12:00:01");
  // This thread takes no events, yet setting the shown text again returns.
  auto same = std::async(std::launch::async, [dialog] { setControlText(dialog, kEdit, "12:00:01"); });
  EXPECT_EQ(same.wait_for(kAtOnce), std::future_status::ready);
  // Once something else is in the box (typed by the user), it is set again.
  gtk_entry_set_text(GTK_ENTRY(widgetOf(dialog, kEdit)), "typed");
  expectSetFromAnotherThreadToWait(dialog, "12:00:01", "typed");
  endDialog(dialog, 0);
}

TEST(GtkThreads, TheDialogsOwnThreadActsAtOnceWithoutItsLoop) {
  const WindowHandle dialog = makeDialog();
  setControlText(dialog, kEdit, "caf\xE9 \x80");  // Windows-1252 bytes
  EXPECT_STREQ(entryText(dialog), "caf\xC3\xA9 \xE2\x82\xAC");
  EXPECT_EQ(getControlText(dialog, kEdit), "caf\xE9 \x80");
  endDialog(dialog, 0);
}

TEST(GtkThreads, CallsForAnEndedDialogReturnAtOnceEvenWhenAlreadyWaiting) {
  const WindowHandle dialog = makeDialog();
  auto waiting = std::async(std::launch::async, [dialog] { setControlText(dialog, kEdit, "x"); });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  endDialog(dialog, 0);  // on this thread, which never took the waiting call
  EXPECT_EQ(waiting.wait_for(kAtOnce), std::future_status::ready);
  auto later = std::async(std::launch::async, [dialog] {
    setControlText(dialog, kEdit, "y");
    setControlCheck(dialog, kEdit, 1);
    return getControlText(dialog, kEdit);
  });
  ASSERT_EQ(later.wait_for(kAtOnce), std::future_status::ready);
  EXPECT_EQ(later.get(), "");
  auto never = std::async(std::launch::async, [] { return getControlText(0, kEdit); });
  ASSERT_EQ(never.wait_for(kAtOnce), std::future_status::ready);
  EXPECT_EQ(never.get(), "");
}

TEST(GtkThreads, AnEndFromAnotherThreadIsCarriedOutByTheDialogsThread) {
  const WindowHandle dialog = makeDialog();
  std::thread other;
  EXPECT_EQ(runScripted(dialog, [&] { other = std::thread([dialog] { endDialog(dialog, 9); }); }),
            9);
  other.join();
  EXPECT_FALSE(gtk_dialog::dialogExists(dialog));
}

// GTK starts on the dialog's thread while the clock thread may read the
// environment (for the zone), so starting it must write none.
TEST(GtkThreads, StartingTheToolkitWritesNoEnvironment) {
  if (gtk_dialog::onToolkitThread()) GTEST_SKIP() << "GTK already runs in this process";
  g_unsetenv("GDK_GL");
  const WindowHandle dialog = makeDialog();
  ASSERT_NE(dialog, 0u);
  EXPECT_EQ(g_getenv("GDK_GL"), nullptr);
  endDialog(dialog, 0);
}

// Without a display GTK cannot start. A process that has one runs this test
// again in a child that has none.
TEST(GtkNoDisplay, NoDialogCanBeMadeAndNothingWaits) {
  const char* display = g_getenv("DISPLAY");
  if (display != nullptr && *display != '\0') {
    gchar* arguments[] = {const_cast<gchar*>("/proc/self/exe"),
                          const_cast<gchar*>("--gtest_filter=GtkNoDisplay.*"), nullptr};
    gchar** environment = g_environ_unsetenv(g_get_environ(), "DISPLAY");
    environment = g_environ_unsetenv(environment, "WAYLAND_DISPLAY");
    gint status = -1;
    EXPECT_TRUE(g_spawn_sync(nullptr, arguments, environment, G_SPAWN_DEFAULT, nullptr, nullptr,
                             nullptr, nullptr, &status, nullptr));
    g_strfreev(environment);
    EXPECT_EQ(status, 0) << "the run without a display";
    return;
  }
  EXPECT_FALSE(gtk_dialog::displayCanBeOpened());
  EXPECT_EQ(createDialog(0, "x", 0, 0, 10, 10, 0, 0), 0u);
  EXPECT_EQ(createDialog(0, "x", 0, 0, 10, 10, 0, 0), 0u);
  setControlText(0, kEdit, "x");
  EXPECT_EQ(pumpOneMessage(1), 0);
}

}  // namespace
