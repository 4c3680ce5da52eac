#include "inspiration/saying_schedule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "alarms/alarm_tables.h"
#include "app/app_state.h"
#include "clock/clock_tick.h"
#include "clock/ring_state.h"
#include "inspiration/saying_fetch.h"
#include "platform/dialog.h"
#include "platform/memory/memory_dialog.h"
#include "platform/recording/recording_voice.h"
#include "speech/speech.h"
#include "tests/inspiration/local_tcp_server.h"
#include "tests/support/program_reset.h"
#include "tests/support/simulated_clock.h"
#include "ui/control_ids.h"

using test_server::LocalTcpServer;
using test_server::Peer;

namespace {

const std::string kPage =
    "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n"
    "<html><body bgcolor=\"white\">\r\n"
    "Keep <b>going</b>.\r\n"
    "</body></html>\r\n";
const Text kSaying = "\nKeep   going  . \r\n     \r\n";

test_server::Handler servePage() {
  return [](Peer& peer) {
    peer.readRequest();
    peer.write(kPage);
  };
}

class SayingScheduleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetProgramForTest();
    AlarmESayingRefresh = RefreshAlarmESaying;
    productionSite_ = sayingFetchSettings();
  }
  void TearDown() override {
    setSayingFetchSettings(productionSite_);
    ReleaseThreadVoice();
    MainWindow = 0;
    resetRecordingVoice();
    resetMemoryToolkit();
    resetSimulatedClock();
  }

  static void fetchFrom(const std::string& service, const Text& host = "127.0.0.1") {
    SayingFetchSettings site;
    site.host = host;
    site.service = service;
    site.timeoutMs = 2000;
    setSayingFetchSettings(site);
  }

  static void armOnly(int alarm, int hour, int minute, const Text& text) {
    StoreAlarmTime(alarm, AlarmTime{static_cast<std::int16_t>(hour),
                                    static_cast<std::int16_t>(minute)});
    StoreAlarmText(alarm, text);
    Text armString = "     ";
    armString[alarm - 1] = 'A';
    StoreArmString(armString);
  }

  static void ticks(int count) {
    for (int i = 0; i < count; ++i) ClockTick();
  }

  // A window with the "Text to Speak" box, made on this thread.
  static WindowHandle makeWindow(const Text& boxText) {
    const WindowHandle window = createDialog(0, "main", 0, 0, 271, 193, 0, 0);
    addControl(window, ControlKind::EditBox, IDC_SPEAK_TEXT, boxText, 10, 145, 250, 15);
    MainWindow = window;
    return window;
  }

  SayingFetchSettings productionSite_;
};

TEST_F(SayingScheduleTest, AlarmsAToDNeverFetch) {
  LocalTcpServer server(servePage());
  fetchFrom(server.service());
  for (int alarm = 1; alarm <= 4; ++alarm) {
    ResetRingState();
    setSimulatedTime(8, 0, 0);
    armOnly(alarm, 8, 0, "alarm " + std::to_string(alarm));
    ticks(31);
  }
  EXPECT_EQ(spokenTexts(), (std::vector<Text>{"alarm 1", "alarm 1", "alarm 2", "alarm 2",
                                              "alarm 3", "alarm 3", "alarm 4", "alarm 4"}));
  EXPECT_EQ(server.acceptedCount(), 0);
  EXPECT_EQ(AlarmTextOf(kAlarmE), "");
}

TEST_F(SayingScheduleTest, ARingOfAlarmEFetchesOnceBeforeItsFirstAnnouncement) {
  // Room for a second fetch, which must not come.
  LocalTcpServer server(servePage(), 2);
  fetchFrom(server.service());
  setSimulatedTime(8, 0, 0);
  armOnly(kAlarmE, 8, 0, "yesterday's saying");
  ticks(600);
  EXPECT_EQ(server.acceptedCount(), 1);
  EXPECT_EQ(spokenTexts(), std::vector<Text>(20, kSaying));
  EXPECT_EQ(AlarmTextOf(kAlarmE), kSaying);
}

TEST_F(SayingScheduleTest, AFailedFetchKeepsAlarmEsEarlierSaying) {
  LocalTcpServer closesAtOnce([](Peer& peer) { peer.readRequest(); });
  const std::string refusing = std::to_string(test_server::refusingPort());
  struct Case {
    const char* name;
    std::string service;
    Text host;
  };
  for (const Case& c : {Case{"refused", refusing, "127.0.0.1"},
                        Case{"unknown host", refusing, "no-such-host.invalid"},
                        Case{"empty answer", closesAtOnce.service(), "127.0.0.1"}}) {
    resetRecordingVoice();
    ResetRingState();
    fetchFrom(c.service, c.host);
    setSimulatedTime(8, 0, 0);
    armOnly(kAlarmE, 8, 0, "earlier saying");
    ticks(31);
    EXPECT_EQ(spokenTexts(), (std::vector<Text>{"earlier saying", "earlier saying"})) << c.name;
    EXPECT_EQ(AlarmTextOf(kAlarmE), "earlier saying") << c.name;
  }
}

TEST_F(SayingScheduleTest, TheButtonShowsAndSpeaksTheSayingAndLeavesAlarmEAlone) {
  LocalTcpServer server(servePage());
  fetchFrom(server.service());
  StoreAlarmText(kAlarmE, "alarm E's own");
  const WindowHandle window = makeWindow("typed earlier");
  FetchSayingNow();
  EXPECT_EQ(controlState(window, IDC_SPEAK_TEXT).text, kSaying);
  EXPECT_EQ(spokenTexts(), std::vector<Text>{kSaying});
  EXPECT_EQ(AlarmTextOf(kAlarmE), "alarm E's own");
}

TEST_F(SayingScheduleTest, TheButtonWithTheSiteUnreachableChangesNothing) {
  fetchFrom(std::to_string(test_server::refusingPort()));
  StoreAlarmText(kAlarmE, "alarm E's own");
  const WindowHandle window = makeWindow("typed earlier");
  TextToSpeak = "said before";
  FetchSayingNow();
  EXPECT_EQ(controlState(window, IDC_SPEAK_TEXT).text, "typed earlier");
  EXPECT_TRUE(spokenUtterances().empty());
  EXPECT_EQ(AlarmTextOf(kAlarmE), "alarm E's own");
  EXPECT_EQ(TextToSpeak, "said before");
}

}  // namespace
