// The main window's events, through the real window run on a dialog thread
// of its own with the in-memory toolkit, the recording voice, simulated time
// and a sayings server of the test's own.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "alarms/alarm_files.h"
#include "clock/ring_state.h"
#include "inspiration/saying_fetch.h"
#include "platform/recording/recording_voice.h"
#include "speech/speech.h"
#include "tests/alarms/settings_folder_fixture.h"
#include "tests/inspiration/local_tcp_server.h"
#include "tests/support/simulated_clock.h"
#include "ui/main_window.h"

namespace {

const Text kFarewell =
    "good bye, please use Brightquill software again soon.  See you later my brothers and "
    "sisters.";
const std::string kSayingsPage =
    "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<html><body>\nBe kind.</body></html>";

MessageParam command(int id, std::uint32_t code) {
  return (static_cast<MessageParam>(id) & 0xFFFF) | (static_cast<MessageParam>(code) << 16);
}

// Everything a command could change, as the user and the files see it.
struct Observed {
  std::array<bool, kAlarmCount + 1> arm{};
  std::array<bool, kAlarmCount + 1> pm{};
  Text armString;
  std::array<std::pair<int, int>, kAlarmCount + 1> times{};
  std::array<Text, kAlarmCount + 1> texts{};
  int currentAlarm = 0;
  std::map<std::string, std::string> files;
  std::vector<Text> spoken;
  std::uint32_t silenceTicks = 0;
  int ringingAlarm = 0;
  int connections = 0;
  bool quit = false;
  bool windowExists = false;
  Text box;
  std::int64_t slept = 0;
};

class MainWindowEventsTest : public SettingsFolderTest {
 protected:
  void SetUp() override {
    SettingsFolderTest::SetUp();
    ReleaseThreadVoice();
    resetRecordingVoice();
    resetSimulatedClock();
    setSimulatedTime(7, 0, 30);
    ResetRingState();
    LoadAllAlarms();
    ReadArmFile();
  }

  void TearDown() override {
    if (dialogThread.joinable()) {
      endDialog(window, 0);
      dialogThread.join();
    }
    setSayingFetchSettings(SayingFetchSettings{});
    setSleepObserver(nullptr);
    resetRecordingVoice();
    resetSimulatedClock();
    ResetRingState();
    SettingsFolderTest::TearDown();
  }

  // The main window, built and run on its own thread as the program does.
  void startWindow() {
    dialogThread = std::thread([] {
      ShowMainWindow();
      ReleaseThreadVoice();
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (MainWindow.load() == 0 || !dialogState(MainWindow.load()).running) {
      ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the window never ran";
      std::this_thread::yield();
    }
    window = MainWindow.load();
    dialogThreadId = dialogThread.get_id();
  }

  // Waits until the window's thread has left ShowMainWindow.
  void joinWindow() {
    if (dialogThread.joinable()) dialogThread.join();
  }

  Observed observe(int connections = 0) {
    Observed o;
    for (int alarm = 1; alarm <= kAlarmCount; ++alarm) {
      o.arm[alarm] = ArmFlags[alarm];
      o.pm[alarm] = PmFlags[alarm];
      o.times[alarm] = {AlarmTimeOf(alarm).hour, AlarmTimeOf(alarm).minute};
      o.texts[alarm] = AlarmTextOf(alarm);
    }
    o.armString = ArmStringNow();
    o.currentAlarm = CurrentAlarm;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
      o.files[entry.path().filename().string()] = test_files::readFileBytes(entry.path());
    }
    for (const Utterance& u : spokenUtterances()) o.spoken.push_back(u.text);
    const RingState ring = RingStateNow();
    o.silenceTicks = ring.silenceTicks;
    o.ringingAlarm = ring.ringingAlarm;
    o.connections = connections;
    o.quit = QuitFlag.load();
    o.windowExists = dialogState(window).exists;
    o.box = getControlText(window, IDC_SPEAK_TEXT);
    o.slept = totalSleptMilliseconds();
    return o;
  }

  static void expectSame(const Observed& actual, const Observed& expected) {
    EXPECT_EQ(actual.arm, expected.arm);
    EXPECT_EQ(actual.pm, expected.pm);
    EXPECT_EQ(actual.armString, expected.armString);
    EXPECT_EQ(actual.times, expected.times);
    EXPECT_EQ(actual.texts, expected.texts);
    EXPECT_EQ(actual.currentAlarm, expected.currentAlarm);
    EXPECT_EQ(actual.files, expected.files);
    EXPECT_EQ(actual.spoken, expected.spoken);
    EXPECT_EQ(actual.silenceTicks, expected.silenceTicks);
    EXPECT_EQ(actual.ringingAlarm, expected.ringingAlarm);
    EXPECT_EQ(actual.connections, expected.connections);
    EXPECT_EQ(actual.quit, expected.quit);
    EXPECT_EQ(actual.windowExists, expected.windowExists);
    EXPECT_EQ(actual.box, expected.box);
    EXPECT_EQ(actual.slept, expected.slept);
  }

  // Every hour box reads 7 and every minute box 5; alarm A is current and
  // the text box holds "Hello".
  void prepareAlarmA() {
    for (int id : {IDC_HOUR_A, IDC_HOUR_B, IDC_HOUR_C, IDC_HOUR_D, IDC_HOUR_E}) {
      typeIntoControl(window, id, "7");
    }
    for (int id : {IDC_MINUTE_A, IDC_MINUTE_B, IDC_MINUTE_C, IDC_MINUTE_D, IDC_MINUTE_E}) {
      typeIntoControl(window, id, "5");
    }
    clickControl(window, IDC_SET_A);
    typeIntoControl(window, IDC_SPEAK_TEXT, "Hello");
  }

  std::thread dialogThread;
  std::thread::id dialogThreadId;
  WindowHandle window = 0;
};

// --- Each command does its own action and no other -------------------------

enum class Action { Nothing, ToggleArm, TogglePm, SetAlarm, Update, Silence, Fetch, Exit, Test };

struct CommandCase {
  int id;
  std::uint32_t code;
  Action action;
  int alarm;
};

std::ostream& operator<<(std::ostream& out, const CommandCase& c) {
  return out << "id " << c.id << " code " << c.code;
}

class CommandTest : public MainWindowEventsTest,
                    public ::testing::WithParamInterface<CommandCase> {};

TEST_P(CommandTest, DoesItsActionAndNoOther) {
  const CommandCase c = GetParam();
  test_server::LocalTcpServer server([](test_server::Peer& peer) {
    peer.readRequest();
    peer.write(kSayingsPage);
  });
  setSayingFetchSettings(SayingFetchSettings{"127.0.0.1", server.service(), 10000});
  startWindow();
  prepareAlarmA();
  const Observed before = observe();
  ASSERT_EQ(before.currentAlarm, 1);
  ASSERT_EQ(before.box, "Hello");

  sendToDialog(window, kMsgCommand, command(c.id, c.code), controlWindow(window, c.id));
  if (c.action == Action::Exit) joinWindow();
  const Observed after = observe(server.acceptedCount());

  Observed expected = before;
  const int n = c.alarm;
  switch (c.action) {
    case Action::Nothing:
      break;
    case Action::ToggleArm:
      expected.arm[n] = true;
      expected.armString[n - 1] = 'A';
      expected.files["qhsettoarm.txt"] = expected.armString + " ";
      // The box is stored for the current alarm A as well.
      expected.texts[1] = "Hello.";
      expected.files["qhsettospeak1.txt"] = "Hello.";
      break;
    case Action::TogglePm:
      expected.pm[n] = true;
      break;
    case Action::SetAlarm:
      expected.currentAlarm = n;
      expected.times[n] = {7, 5};
      expected.files[ringFile(n)] = "\x08\x06";
      if (n <= 4) expected.box = "alarm " + std::to_string(n) + " active.";
      break;
    case Action::Update:
      expected.texts[1] = "Hello.";
      expected.files["qhsettospeak1.txt"] = "Hello.";
      break;
    case Action::Silence:
      expected.silenceTicks = 2 * (60 - 30) + 1;  // the rest of the minute at 07:00:30
      break;
    case Action::Fetch:
      ASSERT_EQ(after.spoken.size(), 1u);
      EXPECT_EQ(after.spoken[0].substr(0, 8), "Be kind.");
      expected.spoken = after.spoken;
      expected.box = after.spoken[0];
      expected.connections = 1;
      expected.slept += 1 + 250;  // the pause before a shown text is spoken
      break;
    case Action::Exit:
      expected.spoken.push_back(kFarewell);
      expected.quit = true;
      expected.windowExists = false;
      expected.box = "";
      expected.slept += 1 + 3000;
      break;
    case Action::Test:
      expected.spoken.push_back("Hello");
      break;
  }
  expectSame(after, expected);
}

std::vector<CommandCase> commandCases() {
  std::vector<CommandCase> cases = {
      {IDC_TIME, 0, Action::Nothing, 0},
      {IDC_ALARMS_FRAME, 0, Action::Nothing, 0},
      {IDC_ARM_A, 0, Action::ToggleArm, 1},
      {IDC_ARM_B, 0, Action::ToggleArm, 2},
      {IDC_ARM_C, 0, Action::ToggleArm, 3},
      {IDC_ARM_D, 0, Action::ToggleArm, 4},
      {IDC_HOUR_A, 0, Action::Nothing, 0},
      {IDC_MINUTE_A, 0, Action::Nothing, 0},
      {IDC_PM_A, 0, Action::TogglePm, 1},
      {IDC_SET_A, 0, Action::SetAlarm, 1},
      {IDC_HOUR_B, 0, Action::Nothing, 0},
      {IDC_MINUTE_B, 0, Action::Nothing, 0},
      {IDC_PM_B, 0, Action::TogglePm, 2},
      {IDC_SET_B, 0, Action::SetAlarm, 2},
      {IDC_HOUR_C, 0, Action::Nothing, 0},
      {IDC_MINUTE_C, 0, Action::Nothing, 0},
      {IDC_PM_C, 0, Action::TogglePm, 3},
      {IDC_SET_C, 0, Action::SetAlarm, 3},
      {IDC_HOUR_D, 0, Action::Nothing, 0},
      {IDC_MINUTE_D, 0, Action::Nothing, 0},
      {IDC_PM_D, 0, Action::TogglePm, 4},
      {IDC_SET_D, 0, Action::SetAlarm, 4},
      {IDC_UPDATE, 0, Action::Update, 0},
      {IDC_SILENCER, 0, Action::Silence, 0},
      {IDC_SAYING, 0, Action::Fetch, 0},
      {IDC_ARM_E, 0, Action::ToggleArm, 5},
      {IDC_HOUR_E, 0, Action::Nothing, 0},
      {IDC_MINUTE_E, 0, Action::Nothing, 0},
      {IDC_PM_E, 0, Action::TogglePm, 5},
      {IDC_SET_E, 0, Action::SetAlarm, 5},
      {IDC_SPEAK_FRAME, 0, Action::Nothing, 0},
      {IDC_SPEAK_TEXT, 0, Action::Nothing, 0},
      {IDC_EXIT, 0, Action::Exit, 0},
      {1034, 0, Action::Nothing, 0},
      {IDC_TEST, 0, Action::Test, 0},
      {kIdOk, 0, Action::Nothing, 0},
      {kIdCancel, 0, Action::Nothing, 0},
      {0, 0, Action::Nothing, 0},
      {9999, 0, Action::Nothing, 0},
      // A command from an accelerator counts as a click.
      {IDC_UPDATE, 1, Action::Update, 0},
      {IDC_SILENCER, 1, Action::Silence, 0},
      {IDC_SAYING, 1, Action::Fetch, 0},
      {IDC_EXIT, 1, Action::Exit, 0},
      {IDC_TEST, 1, Action::Test, 0},
      // Check boxes and "set" buttons act on any notification.
      {IDC_ARM_C, 6, Action::ToggleArm, 3},
      {IDC_PM_D, 7, Action::TogglePm, 4},
      {IDC_SET_B, 0xFFFF, Action::SetAlarm, 2},
      {IDC_ARM_E, 0x0300, Action::ToggleArm, 5},
      // Edit boxes ignore typing as well as clicks.
      {IDC_HOUR_C, 0x0300, Action::Nothing, 0},
      {IDC_SPEAK_TEXT, 0x0300, Action::Nothing, 0},
  };
  // Push buttons ignore every notification but a click.
  for (int id : {IDC_UPDATE, IDC_SILENCER, IDC_SAYING, IDC_EXIT, IDC_TEST}) {
    for (std::uint32_t code : {2u, 5u, 6u, 7u, 0x0300u, 0xFFFFu}) {
      cases.push_back({id, code, Action::Nothing, 0});
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryControl, CommandTest, ::testing::ValuesIn(commandCases()),
                         [](const ::testing::TestParamInfo<CommandCase>& info) {
                           return "id" + std::to_string(info.param.id) + "_code" +
                                  std::to_string(info.param.code);
                         });

// --- The user's own actions ------------------------------------------------

TEST_F(MainWindowEventsTest, TypingIntoAnyEditBoxChangesNothingStored) {
  startWindow();
  const Observed before = observe();
  for (int id : {IDC_TIME, IDC_HOUR_A, IDC_MINUTE_A, IDC_HOUR_B, IDC_MINUTE_B, IDC_HOUR_C,
                 IDC_MINUTE_C, IDC_HOUR_D, IDC_MINUTE_D, IDC_HOUR_E, IDC_MINUTE_E}) {
    typeIntoControl(window, id, "9");
  }
  expectSame(observe(), before);
}

TEST_F(MainWindowEventsTest, ClickingAnArmBoxFlipsItsStateTogetherWithItsMark) {
  startWindow();
  for (int click = 1; click <= 3; ++click) {
    SCOPED_TRACE(click);
    clickControl(window, IDC_ARM_B);
    const bool armed = click % 2 == 1;
    EXPECT_EQ(controlState(window, IDC_ARM_B).check, armed ? 1 : 0);
    EXPECT_EQ(ArmFlags[2], armed);
    EXPECT_EQ(ArmStringNow(), armed ? " A   " : "     ");
    EXPECT_EQ(fileBytes(kArmFile), armed ? " A    " : "      ");
  }
}

TEST_F(MainWindowEventsTest, SetAfterTypingStoresTheTimeAndShowsTheAlarmsText) {
  startWindow();
  typeIntoControl(window, IDC_HOUR_B, "7");
  typeIntoControl(window, IDC_MINUTE_B, "5");
  clickControl(window, IDC_PM_B);
  clickControl(window, IDC_SET_B);
  EXPECT_EQ(fileBytes(ringFile(2)), "\x14\x06");
  EXPECT_EQ(getControlText(window, IDC_SPEAK_TEXT), "alarm 2 active.");
  EXPECT_EQ(controlState(window, IDC_SET_B).check, 1);

  typeIntoControl(window, IDC_SPEAK_TEXT, "Good morning");
  clickControl(window, IDC_UPDATE);
  EXPECT_EQ(fileBytes(speakFile(2)), "Good morning.");
  EXPECT_EQ(getControlText(window, IDC_SPEAK_TEXT), "Good morning");
}

TEST_F(MainWindowEventsTest, FocusComesBackAfterSwitchingAway) {
  startWindow();
  setFocusTo(window, IDC_MINUTE_C);
  sendToDialog(window, kMsgNcActivate, 0, 0);
  setFocusTo(window, 0);  // another application has the focus now
  sendToDialog(window, kMsgNcActivate, 1, 0);
  EXPECT_EQ(focusedWindow(), controlWindow(window, IDC_MINUTE_C));

  // The saved control is given back once; a later activation keeps the focus.
  setFocusTo(window, IDC_TEST);
  sendToDialog(window, kMsgNcActivate, 1, 0);
  EXPECT_EQ(focusedWindow(), controlWindow(window, IDC_TEST));

  // Each deactivation saves the control focused at that moment.
  setFocusTo(window, IDC_HOUR_A);
  sendToDialog(window, kMsgNcActivate, 0, 0);
  setFocusTo(window, IDC_SPEAK_TEXT);
  sendToDialog(window, kMsgNcActivate, 0, 0);
  setFocusTo(window, 0);
  sendToDialog(window, kMsgNcActivate, 1, 0);
  EXPECT_EQ(focusedWindow(), controlWindow(window, IDC_SPEAK_TEXT));
}

TEST_F(MainWindowEventsTest, EnterAndEscDoNothing) {
  startWindow();
  prepareAlarmA();
  const Observed before = observe();
  for (int focused : {int{IDC_SPEAK_TEXT}, int{IDC_ARM_A}, int{IDC_SET_C}, 0}) {
    SCOPED_TRACE(focused);
    setFocusTo(window, focused);
    pressEnter(window);
    pressEscape(window);
  }
  expectSame(observe(), before);
  int enters = 0, escapes = 0;
  for (const MemoryMessage& m : handlerMessages(window)) {
    if (m.message != kMsgCommand) continue;
    enters += m.wParam == command(kIdOk, 0);
    escapes += m.wParam == command(kIdCancel, 0);
  }
  EXPECT_EQ(enters, 4);
  EXPECT_EQ(escapes, 4);
}

TEST_F(MainWindowEventsTest, OtherMessagesAreIgnoredAndNeverClaimed) {
  startWindow();
  prepareAlarmA();
  const Observed before = observe();
  for (std::uint32_t message : {std::uint32_t{kMsgInitDialog}, std::uint32_t{kMsgClose},
                                std::uint32_t{kMsgSize}, 0x0200u, 0x0400u}) {
    sendToDialog(window, message, IDC_SET_B, 0);
  }
  expectSame(observe(), before);
  for (std::uint32_t message : {kMsgInitDialog, kMsgCommand, kMsgNcActivate, kMsgClose}) {
    EXPECT_EQ(OnMainWindowMessage(window, message, command(kIdCancel, 0), 0), 0);
  }
}

// --- Test and Exit ----------------------------------------------------------

TEST_F(MainWindowEventsTest, TestSpeaksWhatTheBoxHoldsAndStoresNothing) {
  startWindow();
  clickControl(window, IDC_SET_C);
  for (const Text& text : {Text("Hello there"), Text(""), Text("alarm 3 active.")}) {
    SCOPED_TRACE(text);
    resetRecordingVoice();
    typeIntoControl(window, IDC_SPEAK_TEXT, text);
    const Observed before = observe();
    clickControl(window, IDC_TEST);
    const std::vector<Utterance> spoken = spokenUtterances();
    ASSERT_EQ(spoken.size(), 1u);
    EXPECT_EQ(spoken[0].text, text);
    EXPECT_EQ(spoken[0].thread, dialogThreadId);
    Observed expected = before;
    expected.spoken = {text};
    expectSame(observe(), expected);
  }
}

TEST_F(MainWindowEventsTest, ExitSaysFarewellPumpsOncePausesThenQuits) {
  startWindow();
  std::vector<std::string> steps;  // written on the dialog thread only
  setSpeakingObserver([&](const Text& text) {
    steps.push_back("say " + text + (QuitFlag ? " (quit)" : ""));
  });
  setSleepObserver([&](std::uint32_t ms) {
    steps.push_back("sleep " + std::to_string(ms) + (QuitFlag ? " (quit)" : ""));
  });
  clickControl(window, IDC_EXIT);
  joinWindow();
  EXPECT_EQ(steps, (std::vector<std::string>{"say " + kFarewell, "sleep 1", "sleep 3000"}));
  EXPECT_TRUE(QuitFlag);
  EXPECT_FALSE(dialogState(window).exists);
  ASSERT_EQ(spokenUtterances().size(), 1u);
  EXPECT_EQ(spokenUtterances()[0].thread, dialogThreadId);
}

TEST_F(MainWindowEventsTest, ExitHandlesOneWaitingMessageBeforeItsPause) {
  startWindow();
  std::thread clock;
  setSpeakingObserver([&](const Text&) {
    // The clock asks for its time display while the farewell is spoken.
    clock = std::thread([this] { setControlText(window, IDC_TIME, " 7:00:30 AM"); });
    waitForQueuedMessages(window, 1);
  });
  std::vector<std::pair<std::uint32_t, Text>> pauses;
  setSleepObserver([&](std::uint32_t ms) {
    pauses.push_back({ms, getControlText(window, IDC_TIME)});
  });
  clickControl(window, IDC_EXIT);
  joinWindow();
  clock.join();
  EXPECT_EQ(pauses, (std::vector<std::pair<std::uint32_t, Text>>{{3000, " 7:00:30 AM"}}));
  EXPECT_TRUE(QuitFlag);
}

TEST_F(MainWindowEventsTest, WithoutSpeechExitStillPausesAndEnds) {
  setSpeechServiceAvailable(false);
  startWindow();
  clickControl(window, IDC_TEST);
  clickControl(window, IDC_EXIT);
  joinWindow();
  EXPECT_TRUE(spokenUtterances().empty());
  EXPECT_EQ(totalSleptMilliseconds(), 3001);
  EXPECT_TRUE(QuitFlag);
  EXPECT_FALSE(dialogState(window).exists);
}

}  // namespace
