#include "audio/stage_track_player.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmira {
namespace {

struct PlayCall {
    int repeatCount;
    std::string fileName;
    bool operator==(const PlayCall&) const = default;
};

void PrintTo(const PlayCall& call, std::ostream* out) {
    *out << "Play(" << call.repeatCount << ", \"" << call.fileName << "\")";
}

class RecordingFacility : public PlaybackFacility {
public:
    void Play(int repeatCount, const std::string& fileName) override {
        calls.push_back({repeatCount, fileName});
    }
    std::vector<PlayCall> calls;
};

TEST(StageTrackPlayerTest, PlaysEachStagesTrackFromTheFileFolderEndlessly) {
    struct Case {
        int stageIndex;
        std::string expectedPath;
    };
    const Case cases[] = {
        {0, "/opt/velmira/File/1.mp3"},
        {1, "/opt/velmira/File/2.mp3"},
        {2, "/opt/velmira/File/3.mp3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stageIndex);
        RecordingFacility facility;
        StageTrackPlayer player(facility, "/opt/velmira");
        player.PlayStageTrack(c.stageIndex);
        EXPECT_EQ(facility.calls, (std::vector<PlayCall>{{-1, c.expectedPath}}));
    }
}

TEST(StageTrackPlayerTest, StopAsksForRepeatCountZeroAndNoFile) {
    RecordingFacility facility;
    StageTrackPlayer player(facility, "/opt/velmira");
    player.StopPlayback();
    player.StopPlayback();
    EXPECT_EQ(facility.calls, (std::vector<PlayCall>{{0, ""}, {0, ""}}));
}

TEST(StageTrackPlayerTest, PlayingAgainAsksTheFacilityAgainEvenForTheSameTrack) {
    RecordingFacility facility;
    StageTrackPlayer player(facility, "/opt/velmira");
    player.PlayStageTrack(1);
    player.PlayStageTrack(1);
    EXPECT_EQ(facility.calls, (std::vector<PlayCall>{{-1, "/opt/velmira/File/2.mp3"},
                                                     {-1, "/opt/velmira/File/2.mp3"}}));
}

TEST(StageTrackPlayerTest, KeepsTheProgramDirectoryBytesAsTheyAre) {
    struct Case {
        const char* name;
        std::string programDirectory;
        std::string expectedPath;
    };
    const Case cases[] = {
        {"GBK folder name", "/home/\xB2\xE2\xCA\xD4" /* 测试 */,
         "/home/\xB2\xE2\xCA\xD4/File/1.mp3"},
        {"folder with spaces", "/media/usb stick/velmira", "/media/usb stick/velmira/File/1.mp3"},
        {"root folder", "/", "/File/1.mp3"},
        {"unknown folder: relative to the working folder", "", "File/1.mp3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingFacility facility;
        StageTrackPlayer player(facility, c.programDirectory);
        player.PlayStageTrack(0);
        ASSERT_EQ(facility.calls.size(), 1u);
        EXPECT_EQ(facility.calls[0].fileName, c.expectedPath);
    }
}

TEST(StageTrackPlayerTest, NamesTheTrackByTheStageNumberInPlainDigits) {
    // Only 0..2 come from the stage list; larger indexes show the number rule holds.
    EXPECT_EQ(StageTrackPath("/v", 9), "/v/File/10.mp3");
    EXPECT_EQ(StageTrackPath("/v", 99999), "/v/File/100000.mp3");
}

}  // namespace
}  // namespace velmira
