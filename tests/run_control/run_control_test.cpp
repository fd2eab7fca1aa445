#include "run/run_control.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "run/duration_text.h"
#include "tests/run_control/fake_window.h"

namespace velmira {
namespace {

using namespace std::chrono_literals;

struct FakeServices : ProgressStore, StagePlayer, MasterVolume, VolumePrompt, SleepInhibitor {
    explicit FakeServices(CallLog& log) : log_(log) {}

    void SelectProgressFile() override { log_.push_back("select"); }
    void LoadProgress() override { log_.push_back("load"); }
    void SaveProgress() override { log_.push_back("save"); }
    bool StoredDateIsToday() override {
        log_.push_back("date?");
        return storedDateIsToday;
    }
    void PlayStageTrack(int stageIndex) override {
        log_.push_back("play " + std::to_string(stageIndex));
    }
    void StopPlayback() override { log_.push_back("stop-playback"); }
    void BindMasterVolume() override { log_.push_back("bind"); }
    void ScaleVolumeForStage(int stageIndex) override {
        log_.push_back("scale " + std::to_string(stageIndex));
    }
    void RestoreVolume() override { log_.push_back("restore"); }
    void ShowModal() override { log_.push_back("prompt"); }
    void Acquire() override { log_.push_back("inhibit"); }
    void Release() override { log_.push_back("uninhibit"); }

    bool storedDateIsToday = true;

private:
    CallLog& log_;
};

class RunControlTest : public ::testing::Test {
protected:
    RunControl& control() { return control_; }
    CallLog TakeLog() { return std::exchange(log_, {}); }
    void Advance(ElapsedSeconds::Time by) { now_ += by; }
    // What the timer would deliver: one event per period after a start.
    void TickAfter(ElapsedSeconds::Time by) {
        Advance(by);
        control_.Tick();
    }
    std::string Label(ProgressLabel label) const { return window_.Caption(label); }

    CallLog log_;
    FakeWindow window_{log_};
    FakeServices services_{log_};
    RunState state_;
    ElapsedSeconds::Time now_ = 1000s;
    RunControl control_{state_, window_,
                        RunServices{services_, services_, services_, services_, services_},
                        [this] { return now_; }};
};

// GBK duration texts, written here in ASCII-safe form.
std::string D(int hours, int minutes, int seconds) {
    return FormatDuration(hours, minutes, seconds);
}

TEST_F(RunControlTest, CreatedBindsTheMixerThenLoadsTheFirstDevice) {
    control().Created();
    EXPECT_EQ(TakeLog(), (CallLog{"bind", "select", "load"}));
    control().DeviceChanged();
    EXPECT_EQ(TakeLog(), (CallLog{"select", "load"}));
}

TEST_F(RunControlTest, StartWithAutomaticVolumePromptsFirstAndScalesAfterPlaying) {
    window_.stage = 1;
    control().Start();
    EXPECT_EQ(TakeLog(), (CallLog{"prompt", "focus", "disable stage-list", "disable device-list",
                                  "disable auto-volume-box", "timer 1000", "date?", "play 1",
                                  "scale 1", "disable start-button", "focus", "inhibit"}));
}

TEST_F(RunControlTest, StartWithoutAutomaticVolumeNeitherPromptsNorScales) {
    window_.autoVolume = false;
    control().Start();
    const CallLog log = TakeLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "prompt"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "scale 0"), 0);
    EXPECT_EQ(log.front(), "focus");

    control().Stop();
    const CallLog stopLog = TakeLog();
    EXPECT_EQ(std::count(stopLog.begin(), stopLog.end(), "restore"), 0);
}

TEST_F(RunControlTest, StopRunsItsStepsInOrderAndAlwaysSaves) {
    control().Stop();  // idle: still saves
    EXPECT_EQ(TakeLog(), (CallLog{"enable start-button", "enable auto-volume-box", "focus",
                                  "stop-playback", "restore", "timer 0", "enable stage-list",
                                  "enable device-list", "save", "uninhibit"}));
    EXPECT_EQ(window_.period, 0);
}

TEST_F(RunControlTest, CloseTouchesNoControlAndSaves) {
    control().Start();
    TakeLog();
    control().Close();
    EXPECT_EQ(TakeLog(), (CallLog{"stop-playback", "restore", "timer 0", "save", "uninhibit"}));
    EXPECT_TRUE(window_.disabled[LockableControl::StartButton]);
}

TEST_F(RunControlTest, StartSeedsFromTheSelectedStagesLabels) {
    struct Case {
        const char* name;
        bool dateIsToday;
        std::string today;
        std::string aggregate;
        std::string todayAfterTick;
        std::string aggregateAfterTick;
    };
    const Case cases[] = {
        {"same day continues both", true, D(0, 59, 59), D(9, 59, 59), D(1, 0, 0), D(10, 0, 0)},
        {"new day restarts today only", false, D(3, 0, 0), D(3, 10, 59), D(0, 0, 1), D(3, 11, 0)},
        {"unreadable labels start at zero", true, "abc", "", D(0, 0, 1), D(0, 0, 1)},
        {"surplus above 59 is dropped", true,
         "5\xD0\xA1\xCA\xB1"
         "75\xB7\xD6"
         "80\xC3\xEB",
         D(1, 2, 3), D(6, 0, 0), D(1, 2, 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int stage = 0; stage < 3; ++stage) {
            window_.stage = stage;
            window_.captions.fill("untouched");
            window_.SetCaption(TodayLabelOfStage(stage), c.today);
            window_.SetCaption(AggregateLabelOfStage(stage), c.aggregate);
            services_.storedDateIsToday = c.dateIsToday;
            control().Start();
            // Until the first tick the old text stays, even on a new day.
            EXPECT_EQ(Label(TodayLabelOfStage(stage)), c.today);
            TickAfter(1s);
            EXPECT_EQ(Label(TodayLabelOfStage(stage)), c.todayAfterTick);
            EXPECT_EQ(Label(AggregateLabelOfStage(stage)), c.aggregateAfterTick);
            int untouched = 0;
            for (const std::string& caption : window_.captions) untouched += caption == "untouched";
            EXPECT_EQ(untouched, 4) << "a tick touched another stage's labels";
            control().Stop();
        }
    }
}

TEST_F(RunControlTest, TicksCountMonotonicTimeNotTimerEvents) {
    control().Start();
    TickAfter(1s);
    TickAfter(1s);
    EXPECT_EQ(Label(ProgressLabel::TodayStageOne), D(0, 0, 2));
    // The UI thread stalls for 3.5 s; the timer delivers one late event.
    TickAfter(3500ms);
    EXPECT_EQ(Label(ProgressLabel::TodayStageOne), D(0, 0, 5));
    EXPECT_EQ(Label(ProgressLabel::AggregateStageOne), D(0, 0, 5));
    // The next event, on the old phase, makes up the half second.
    TickAfter(500ms);
    EXPECT_EQ(Label(ProgressLabel::TodayStageOne), D(0, 0, 6));
    // An event with no whole second due changes nothing.
    TakeLog();
    TickAfter(100ms);
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(RunControlTest, StopAndCloseCountTheSecondsSinceTheLastTimerEvent) {
    for (const bool close : {false, true}) {
        SCOPED_TRACE(close ? "close" : "stop");
        window_.captions.fill(std::string(kZeroDurationText));
        control().Start();
        TickAfter(1s);
        // After a stall the timer resumes on a new phase; the user stops between events.
        TickAfter(3500ms);
        Advance(800ms);
        TakeLog();
        close ? control().Close() : control().Stop();
        const CallLog log = TakeLog();
        EXPECT_EQ(Label(ProgressLabel::TodayStageOne), D(0, 0, 5));
        const auto shown = std::find(log.begin(), log.end(), "caption 0");
        EXPECT_LT(shown - log.begin(), std::find(log.begin(), log.end(), "save") - log.begin())
            << "the labels must be complete before they are saved";
        // Once stopped, nothing more is counted, not even by a second Stop.
        Advance(5s);
        control().Stop();
        EXPECT_EQ(Label(ProgressLabel::TodayStageOne), D(0, 0, 5));
    }
}

TEST_F(RunControlTest, CatchUpCarriesEachSecondLikeSingleTicks) {
    window_.SetCaption(ProgressLabel::TodayStageOne, D(0, 59, 58));
    window_.SetCaption(ProgressLabel::AggregateStageOne, D(99, 59, 59));
    control().Start();
    TickAfter(3s);
    EXPECT_EQ(Label(ProgressLabel::TodayStageOne), D(1, 0, 1));
    EXPECT_EQ(Label(ProgressLabel::AggregateStageOne), D(100, 0, 2));
}

TEST_F(RunControlTest, ARunSavesEveryMinuteSoACrashLosesLittle) {
    control().Start();
    TakeLog();
    auto saves = [this] {
        const CallLog log = TakeLog();
        return std::count(log.begin(), log.end(), "save");
    };
    for (int second = 1; second < 60; ++second) TickAfter(1s);
    EXPECT_EQ(saves(), 0);
    TickAfter(1s);
    EXPECT_EQ(saves(), 1);
    for (int second = 1; second <= 60; ++second) TickAfter(1s);
    EXPECT_EQ(saves(), 1);
    // A long stall saves once, not once per missed minute.
    TickAfter(300s);
    EXPECT_EQ(saves(), 1);
    // A new run starts its own minute.
    control().Stop();
    control().Start();
    TakeLog();
    TickAfter(30s);
    EXPECT_EQ(saves(), 0);
}

TEST_F(RunControlTest, RestartedRunCountsFromItsOwnStart) {
    control().Start();
    TickAfter(5s);
    control().Stop();
    Advance(3600s);  // idle for an hour
    control().Start();
    TickAfter(1s);
    EXPECT_EQ(Label(ProgressLabel::AggregateStageOne), D(0, 0, 6));
}

}  // namespace
}  // namespace velmira
