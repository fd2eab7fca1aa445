#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "run/duration_text.h"
#include "run/run_control.h"
#include "store/progress_file.h"
#include "tests/run_control/fake_window.h"

namespace velmira {
namespace {

using namespace std::chrono_literals;

struct Silent : StagePlayer, MasterVolume, VolumePrompt, SleepInhibitor {
    void PlayStageTrack(int) override {}
    void StopPlayback() override {}
    void BindMasterVolume() override {}
    void ScaleVolumeForStage(int) override {}
    void RestoreVolume() override {}
    void ShowModal() override {}
    void Acquire() override {}
    void Release() override {}
};

// One launch of the program: a window, a real progress file in `folder`, and a
// clock the test moves. Dropping it without Close is what a kill -9 leaves.
struct Launch {
    explicit Launch(const std::filesystem::path& folder, ElapsedSeconds::Time& now)
        : store(state, window, folder, [] { return std::time_t{1709800000}; }),  // 7 March 2024
          control(state, window, RunServices{store, silent, silent, silent, silent},
                  [&now] { return now; }) {
        control.Created();
    }

    CallLog log;
    FakeWindow window{log};
    RunState state;
    Silent silent;
    ProgressFile store;
    RunControl control;
};

class CrashRecoveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("velmira-crash-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        ASSERT_TRUE(std::filesystem::create_directories(folder_ / "File"));
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    // Runs for `seconds` of one-second timer events, then dies without closing.
    void RunThenDie(int seconds) {
        Launch launch(folder_, now_);
        launch.window.autoVolume = false;
        launch.control.Start();
        for (int second = 0; second < seconds; ++second) {
            now_ += 1s;
            launch.control.Tick();
        }
    }

    std::string AggregateAfterRestart() {
        Launch launch(folder_, now_);
        return launch.window.Caption(ProgressLabel::AggregateStageOne);
    }

    std::filesystem::path folder_;
    ElapsedSeconds::Time now_ = 5000s;
};

TEST_F(CrashRecoveryTest, AKilledRunLosesAtMostAMinute) {
    RunThenDie(119);
    EXPECT_EQ(AggregateAfterRestart(), FormatDuration(0, 1, 0)) << "59 s lost, not 119";
}

TEST_F(CrashRecoveryTest, RunsKilledOneAfterAnotherKeepAddingUp) {
    RunThenDie(150);  // saved at 60 and 120
    RunThenDie(61);   // continues from 120, saved at 120 + 60
    EXPECT_EQ(AggregateAfterRestart(), FormatDuration(0, 3, 0));
}

TEST_F(CrashRecoveryTest, ARunShorterThanAMinuteIsLostOnlyWhenKilled) {
    RunThenDie(59);
    EXPECT_EQ(AggregateAfterRestart(), std::string(kZeroDurationText));
    {
        Launch launch(folder_, now_);
        launch.window.autoVolume = false;
        launch.control.Start();
        now_ += 59s;
        launch.control.Tick();
        launch.control.Close();
    }
    EXPECT_EQ(AggregateAfterRestart(), FormatDuration(0, 0, 59));
}

}  // namespace
}  // namespace velmira
