#include "audio/master_volume_scaling.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace velmira {
namespace {

TEST(StageRatio, IsThirtyFiftyAndEightyPercentForTheThreeStages) {
    EXPECT_EQ(StageRatio(0), 30.0);
    EXPECT_EQ(StageRatio(1), 50.0);
    EXPECT_EQ(StageRatio(2), 80.0);
}

TEST(StageRatio, IsNoneOutsideTheThreeStages) {
    EXPECT_EQ(StageRatio(-1), std::nullopt);
    EXPECT_EQ(StageRatio(3), std::nullopt);
}

TEST(ShareOfVolume, DividesFirstRoundsEachStepAndTruncatesTowardZero) {
    struct Case {
        std::int32_t raw;
        int stage;
        std::int32_t share;
    };
    const Case cases[] = {
        {40000, 0, 12000},
        {40000, 1, 20000},
        {40000, 2, 32000},
        {65535, 0, 19660},
        {65535, 1, 32767},
        {65535, 2, 52428},
        // 4.1 * 30.0 is 122.99999999999999 in doubles: one unit below the exact share.
        {410, 0, 122},
        {410, 1, 204},
        {410, 2, 328},
        {58, 0, 17},
        {58, 1, 28},
        {58, 2, 46},
        {0, 0, 0},
        {0, 1, 0},
        {0, 2, 0},
        {30000, 0, 9000},
        {30000, 1, 15000},
        {30000, 2, 24000},
        // The missing right channel of a one-channel line: -0.3, -0.5, -0.8 toward zero.
        {-1, 0, 0},
        {-1, 1, 0},
        {-1, 2, 0},
        {65536, 2, 52428},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("raw " + std::to_string(c.raw) + " at stage " + std::to_string(c.stage));
        const std::optional<double> ratio = StageRatio(c.stage);
        ASSERT_TRUE(ratio.has_value());
        EXPECT_EQ(ShareOfVolume(c.raw, *ratio), c.share);
    }
}

// Records every call into the unit; reads answer with a preset level the way the
// unit's contract says (a failing bound read reports -1 on both channels).
class FakeSysVolume : public SysVolume {
public:
    struct Call {
        std::string operation;
        std::int32_t first = 0;
        std::int32_t second = 0;
        bool operator==(const Call&) const = default;
    };

    int Bind(int lineKind) override {
        calls.push_back({"bind", lineKind, 0});
        return kSucceeded;
    }
    int Read(std::int32_t& left, std::int32_t& right) override {
        calls.push_back({"read", 0, 0});
        if (!bound) return kReadFailed;
        left = kMissingChannel;
        right = kMissingChannel;
        if (!readSucceeds) return kReadFailed;
        left = level.first;
        right = level.second;
        return kSucceeded;
    }
    int Write(std::int32_t left, std::int32_t right) override {
        calls.push_back({"write", left, right});
        return kSucceeded;
    }

    std::vector<Call> calls;
    Call level{"", 40000, 40000};
    bool bound = true;
    bool readSucceeds = true;
};

using Call = FakeSysVolume::Call;

void PrintTo(const Call& call, std::ostream* out) {
    *out << call.operation << "(" << call.first << ", " << call.second << ")";
}

class MasterVolumeScalingTest : public testing::Test {
protected:
    void SetLevel(std::int32_t left, std::int32_t right) { unit.level = {"", left, right}; }

    FakeSysVolume unit;
    RunState state;
    MasterVolumeScaling scaling{unit, state};
};

TEST_F(MasterVolumeScalingTest, BindBindsTheSpeakersLineOnce) {
    scaling.BindMasterVolume();
    EXPECT_EQ(unit.calls, (std::vector<Call>{{"bind", 4, 0}}));
}

TEST_F(MasterVolumeScalingTest, ScaleReadsTheLevelThenWritesTheStageShare) {
    struct Case {
        int stage;
        std::int32_t left, right, shareLeft, shareRight;
    };
    const Case cases[] = {
        {0, 40000, 40000, 12000, 12000}, {1, 40000, 40000, 20000, 20000},
        {2, 40000, 40000, 32000, 32000}, {0, 410, 65535, 122, 19660},
        {1, 58, 20000, 28, 10000},       {2, 0, 65535, 0, 52428},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("stage " + std::to_string(c.stage) + " at " + std::to_string(c.left) + "/" +
                     std::to_string(c.right));
        unit.calls.clear();
        SetLevel(c.left, c.right);
        scaling.ScaleVolumeForStage(c.stage);
        EXPECT_EQ(unit.calls,
                  (std::vector<Call>{{"read", 0, 0}, {"write", c.shareLeft, c.shareRight}}));
        EXPECT_EQ(state.savedLeftVolume, c.left);
        EXPECT_EQ(state.savedRightVolume, c.right);
        scaling.RestoreVolume();
    }
}

TEST_F(MasterVolumeScalingTest, RestoreWritesExactlyTheLevelReadNotOneDerivedFromTheShares) {
    SetLevel(410, 58);
    scaling.ScaleVolumeForStage(0);
    SetLevel(1000, 1000);  // the user moves the volume during the run
    unit.calls.clear();

    scaling.RestoreVolume();

    EXPECT_EQ(unit.calls, (std::vector<Call>{{"write", 410, 58}}));
}

TEST_F(MasterVolumeScalingTest, RestoreBeforeAnyScalingWritesNothing) {
    scaling.BindMasterVolume();
    unit.calls.clear();

    scaling.RestoreVolume();
    scaling.RestoreVolume();

    EXPECT_TRUE(unit.calls.empty());
    EXPECT_EQ(state.savedLeftVolume, 0);
    EXPECT_EQ(state.savedRightVolume, 0);
}

TEST_F(MasterVolumeScalingTest, EachScaledRunIsRestoredExactlyOnce) {
    SetLevel(40000, 40000);
    scaling.ScaleVolumeForStage(0);
    scaling.RestoreVolume();
    scaling.RestoreVolume();  // a Stop while idle
    SetLevel(30000, 20000);
    scaling.ScaleVolumeForStage(2);
    scaling.RestoreVolume();
    scaling.RestoreVolume();  // closing the window after Stop

    EXPECT_EQ(unit.calls, (std::vector<Call>{{"read", 0, 0},
                                             {"write", 12000, 12000},
                                             {"write", 40000, 40000},
                                             {"read", 0, 0},
                                             {"write", 24000, 16000},
                                             {"write", 30000, 20000}}));
}

TEST_F(MasterVolumeScalingTest, FailedReadOnABoundLineWritesNothingAtScaleOrRestore) {
    unit.readSucceeds = false;

    scaling.ScaleVolumeForStage(1);
    scaling.RestoreVolume();

    EXPECT_EQ(unit.calls, (std::vector<Call>{{"read", 0, 0}}));
    EXPECT_EQ(state.savedLeftVolume, 0);
    EXPECT_EQ(state.savedRightVolume, 0);
}

TEST_F(MasterVolumeScalingTest, UnboundUnitNeverChangesTheVolume) {
    unit.bound = false;

    scaling.ScaleVolumeForStage(2);
    scaling.RestoreVolume();

    EXPECT_EQ(unit.calls, (std::vector<Call>{{"read", 0, 0}}));
}

TEST_F(MasterVolumeScalingTest, FailedReadAfterARunKeepsTheLevelThatRunSaved) {
    SetLevel(40000, 40000);
    scaling.ScaleVolumeForStage(0);
    scaling.RestoreVolume();
    unit.readSucceeds = false;
    unit.calls.clear();

    scaling.ScaleVolumeForStage(0);
    scaling.RestoreVolume();

    EXPECT_EQ(unit.calls, (std::vector<Call>{{"read", 0, 0}}));
    EXPECT_EQ(state.savedLeftVolume, 40000);
    EXPECT_EQ(state.savedRightVolume, 40000);
}

TEST_F(MasterVolumeScalingTest, OneChannelLineScalesLeftAndRestoresItsLevel) {
    const std::int32_t shares[] = {9000, 15000, 24000};
    for (int stage = 0; stage < 3; ++stage) {
        SCOPED_TRACE("stage " + std::to_string(stage));
        unit.calls.clear();
        SetLevel(30000, SysVolume::kMissingChannel);

        scaling.ScaleVolumeForStage(stage);
        EXPECT_EQ(state.savedRightVolume, -1);
        scaling.RestoreVolume();

        EXPECT_EQ(
            unit.calls,
            (std::vector<Call>{{"read", 0, 0}, {"write", shares[stage], 0}, {"write", 30000, -1}}));
    }
}

TEST_F(MasterVolumeScalingTest, StageOutsideTheThreeTouchesNothing) {
    scaling.ScaleVolumeForStage(3);
    scaling.ScaleVolumeForStage(-1);
    scaling.RestoreVolume();

    EXPECT_TRUE(unit.calls.empty());
}

}  // namespace
}  // namespace velmira
