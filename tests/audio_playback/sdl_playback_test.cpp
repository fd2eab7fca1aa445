#include "audio/sdl_playback.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "audio/stage_track_player.h"
#include "pcm_samples.h"
#include "tests/support/stderr_capture.h"

namespace velmira {
namespace {

using testing::DecodeMp3;
using testing::FirstSoundingFrame;
using testing::FrameCount;
using testing::LongestSilence;
using testing::MismatchedFrames;
using testing::ReadRawSamples;
using testing::Samples;

const std::filesystem::path kProgramDirectory = VELMIRA_TEST_PROGRAM_DIR;
const std::filesystem::path kStageOneTrack = kProgramDirectory / "File" / "1.mp3";
constexpr std::size_t kOneMillisecond = testing::kSampleRate / 1000;

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmira-play.XXXXXX");
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    [[nodiscard]] const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};


[[nodiscard]] std::uintmax_t SizeOf(const std::filesystem::path& file) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    return error ? 0 : size;
}

// SDL's disk driver writes what it plays into a raw file, far faster than real time.
class DiskPlaybackTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(temp_.path().empty());
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIODELAY", "0", 1);
        stageOne_ = DecodeMp3(kStageOneTrack);
        ASSERT_GT(FrameCount(stageOne_), 0u) << kStageOneTrack;
        ASSERT_EQ(FirstSoundingFrame(stageOne_), 0u);
    }

    // The next Play writes into a new capture file.
    std::filesystem::path NewCapture() {
        const std::filesystem::path file =
            temp_.path() / ("capture-" + std::to_string(++captureCount_) + ".raw");
        setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
        return file;
    }

    [[nodiscard]] static bool WaitForFrames(const std::filesystem::path& capture,
                                            std::size_t frames) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (SizeOf(capture) < frames * testing::kChannels * sizeof(std::int16_t)) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

    // Plays a stage-one track into a fresh capture and checks that its first round is
    // heard from the start of the file.
    void ExpectStageOneHeardFromTheStart(SdlPlayback& playback) {
        const std::filesystem::path capture = NewCapture();
        playback.Play(-1, kStageOneTrack);
        ASSERT_TRUE(WaitForFrames(capture, FrameCount(stageOne_) * 3 / 2));
        playback.Play(0, "");
        const Samples played = ReadRawSamples(capture);
        EXPECT_EQ(MismatchedFrames(played, FirstSoundingFrame(played), stageOne_), 0u);
    }

    [[nodiscard]] std::filesystem::path WriteFile(const std::string& name,
                                                  const std::vector<char>& bytes) const {
        const std::filesystem::path file = temp_.path() / name;
        std::ofstream(file, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file;
    }

    TempFolder temp_;
    Samples stageOne_;
    int captureCount_ = 0;
};

TEST_F(DiskPlaybackTest, EachStageTrackPlaysSampleExactlyAndLoopsWithoutAGap) {
    SdlPlayback playback;
    StageTrackPlayer player(playback, kProgramDirectory);
    for (int stageIndex = 0; stageIndex < 3; ++stageIndex) {
        SCOPED_TRACE(stageIndex);
        const Samples track = DecodeMp3(StageTrackPath(kProgramDirectory, stageIndex));
        const std::size_t length = FrameCount(track);
        ASSERT_GT(length, 0u);
        ASSERT_EQ(FirstSoundingFrame(track), 0u);

        const std::filesystem::path capture = NewCapture();
        player.PlayStageTrack(stageIndex);
        ASSERT_TRUE(WaitForFrames(capture, length * 5 / 2));
        player.StopPlayback();

        const Samples played = ReadRawSamples(capture);
        const std::size_t start = FirstSoundingFrame(played);
        ASSERT_GE(FrameCount(played), start + 2 * length);
        EXPECT_LE(LongestSilence(played, start, start + 2 * length), kOneMillisecond);
        EXPECT_EQ(MismatchedFrames(played, start, track), 0u) << "first round";
        EXPECT_EQ(MismatchedFrames(played, start + length, track), 0u) << "second round";
    }
}

TEST_F(DiskPlaybackTest, PositiveRepeatCountPlaysTheFileThatManyTimesThenFallsSilent) {
    SdlPlayback playback;
    const std::size_t length = FrameCount(stageOne_);
    const std::filesystem::path capture = NewCapture();
    playback.Play(2, kStageOneTrack);
    ASSERT_TRUE(WaitForFrames(capture, length * 7 / 2));
    playback.Play(0, "");

    const Samples played = ReadRawSamples(capture);
    const std::size_t start = FirstSoundingFrame(played);
    ASSERT_GE(FrameCount(played), start + 3 * length);
    EXPECT_EQ(MismatchedFrames(played, start, stageOne_), 0u);
    EXPECT_EQ(MismatchedFrames(played, start + length, stageOne_), 0u);
    EXPECT_EQ(FirstSoundingFrame(played, start + 2 * length), FrameCount(played));
}

TEST_F(DiskPlaybackTest, StopClosesTheSoundOutputBeforeItReturns) {
    SdlPlayback playback;
    const std::filesystem::path capture = NewCapture();
    playback.Play(-1, kStageOneTrack);
    ASSERT_TRUE(WaitForFrames(capture, FrameCount(stageOne_) / 2));
    playback.Play(0, "");
    const std::uintmax_t sizeAtStop = SizeOf(capture);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(SizeOf(capture), sizeAtStop) << "the output went on after the stop";

    playback.Play(0, "");
    playback.Play(0, kStageOneTrack);
    EXPECT_EQ(SizeOf(capture), sizeAtStop);
}

TEST_F(DiskPlaybackTest, EmptyFileNameOnlyStops) {
    SdlPlayback playback;
    const std::filesystem::path capture = NewCapture();
    playback.Play(-1, kStageOneTrack);
    ASSERT_TRUE(WaitForFrames(capture, FrameCount(stageOne_) / 2));
    const std::filesystem::path afterStop = NewCapture();
    playback.Play(-1, "");
    const std::uintmax_t sizeAtStop = SizeOf(capture);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(SizeOf(capture), sizeAtStop);
    EXPECT_FALSE(std::filesystem::exists(afterStop)) << "a sound output was opened";
}

TEST_F(DiskPlaybackTest, PlayingAgainRestartsTheTrackFromItsBeginning) {
    SdlPlayback playback;
    const std::filesystem::path first = NewCapture();
    playback.Play(-1, kStageOneTrack);
    ASSERT_TRUE(WaitForFrames(first, FrameCount(stageOne_) / 2));
    ExpectStageOneHeardFromTheStart(playback);
}

TEST_F(DiskPlaybackTest, OpensTheFileBeforeTheCallReturns) {
    const std::filesystem::path copy = temp_.path() / "copy.mp3";
    ASSERT_TRUE(std::filesystem::copy_file(kStageOneTrack, copy));
    SdlPlayback playback;
    const std::filesystem::path capture = NewCapture();
    playback.Play(-1, copy);
    std::filesystem::remove(copy);
    ASSERT_TRUE(WaitForFrames(capture, FrameCount(stageOne_) * 3 / 2));
    playback.Play(0, "");
    const Samples played = ReadRawSamples(capture);
    EXPECT_EQ(MismatchedFrames(played, FirstSoundingFrame(played), stageOne_), 0u);
}

[[nodiscard]] std::vector<char> RandomBytes(std::size_t count) {
    std::mt19937 engine(4);
    std::vector<char> bytes(count);
    for (char& byte : bytes) byte = static_cast<char>(engine() & 0xFF);
    return bytes;
}

// One second of a 440 Hz tone as a 16-bit stereo WAV file.
[[nodiscard]] std::vector<char> WavBytes() {
    constexpr std::uint32_t kFrames = testing::kSampleRate;
    constexpr std::uint32_t kDataBytes = kFrames * 4;
    std::vector<char> bytes;
    const auto put = [&bytes](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    const auto text = [&bytes](const char* word) { bytes.insert(bytes.end(), word, word + 4); };
    text("RIFF");
    put(36 + kDataBytes, 4);
    text("WAVE");
    text("fmt ");
    put(16, 4);
    put(1, 2);
    put(2, 2);
    put(testing::kSampleRate, 4);
    put(testing::kSampleRate * 4, 4);
    put(4, 2);
    put(16, 2);
    text("data");
    put(kDataBytes, 4);
    for (std::uint32_t frame = 0; frame < kFrames; ++frame) {
        const auto sample = static_cast<std::uint32_t>(static_cast<std::int32_t>(
                                8000.0 * std::sin(2.0 * 3.14159265 * 440.0 * frame / kFrames))) &
                            0xFFFF;
        put(sample, 2);
        put(sample, 2);
    }
    return bytes;
}

TEST_F(DiskPlaybackTest, UnplayableFilesNeitherCrashNorSpoilTheNextPlay) {
    std::ifstream trackStream(kStageOneTrack, std::ios::binary);
    const std::vector<char> track{std::istreambuf_iterator<char>(trackStream),
                                  std::istreambuf_iterator<char>()};
    ASSERT_GT(track.size(), 200000u);
    std::filesystem::create_directory(temp_.path() / "folder.mp3");

    struct Case {
        const char* name;
        std::filesystem::path file;
    };
    const Case cases[] = {
        {"missing file", temp_.path() / "missing.mp3"},
        {"random bytes", WriteFile("random.mp3", RandomBytes(65536))},
        {"empty file", WriteFile("empty.mp3", {})},
        {"WAV renamed to .mp3", WriteFile("wave.mp3", WavBytes())},
        {"truncated MP3", WriteFile("truncated.mp3", {track.begin(), track.begin() + 100001})},
        {"folder", temp_.path() / "folder.mp3"},
    };
    SdlPlayback playback;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        (void)NewCapture();
        playback.Play(-1, c.file);
        // Give SDL's threads time to decode whatever the file holds.
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        ExpectStageOneHeardFromTheStart(playback);
    }
}

TEST_F(DiskPlaybackTest, WithoutASoundOutputPlayReturnsSilentlyAndTheNextOutputWorks) {
    const std::filesystem::path asoundConf = WriteFile("asound.conf", {});
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, std::string>> environment;
    };
    const std::string noServer = "unix:" + (temp_.path() / "no-server").string();
    const Case cases[] = {
        {"no such audio driver", {{"SDL_AUDIODRIVER", "velmira-no-such-driver"}}},
        {"sound server not running",
         {{"SDL_AUDIODRIVER", "pulseaudio"},
          {"PULSE_SERVER", noServer},
          {"PULSE_COOKIE", (temp_.path() / "cookie").string()},
          {"PULSE_RUNTIME_PATH", (temp_.path() / "pulse").string()},
          {"XDG_CONFIG_HOME", temp_.path().string()}}},
        {"ALSA without any device",
         {{"SDL_AUDIODRIVER", "alsa"}, {"ALSA_CONFIG_PATH", asoundConf.string()}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& [name, value] : c.environment) setenv(name, value.c_str(), 1);
        SdlPlayback playback;
        {
            StderrCapture stderrCapture(temp_.path() / "stderr.txt");
            playback.Play(-1, kStageOneTrack);
            playback.Play(-1, kStageOneTrack);
            playback.Play(0, "");
            playback.Play(-1, kStageOneTrack);
            EXPECT_EQ(stderrCapture.Take(), "");
        }
        setenv("SDL_AUDIODRIVER", "disk", 1);
        ExpectStageOneHeardFromTheStart(playback);
    }
}

}  // namespace
}  // namespace velmira
