// Runs against the private PulseAudio that tests/scripts/with_pulse.sh starts,
// with ALSA's default control device routed to its null sink "burnin".
#include "audio/alsa_sys_volume.h"
#include "tests/support/stderr_capture.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace velmira {
namespace {

constexpr int kFullVolume = 65536;

[[nodiscard]] std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Through bash, not /bin/sh: dash drops the functions that with_pulse.sh exports.
[[nodiscard]] bool Run(const std::string& script) {
    const char* argv[] = {"bash", "-c", script.c_str(), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, "bash", nullptr, nullptr, const_cast<char* const*>(argv), environ) !=
        0) {
        return false;
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// with_pulse.sh exports these as bash functions.
[[nodiscard]] bool StopServer() { return Run("bash -c stop_pulse"); }
[[nodiscard]] bool StartServer() { return Run("bash -c start_pulse >/dev/null 2>&1"); }
[[nodiscard]] bool ServerAnswers() { return Run("pactl info >/dev/null 2>&1"); }

[[nodiscard]] bool SetSinkVolume(const std::string& sink, const std::string& levels) {
    return Run("pactl set-sink-volume " + sink + " " + levels);
}

// The raw per-channel values of "pactl get-sink-volume", in channel order.
[[nodiscard]] std::vector<int> SinkVolume(const std::string& sink = "burnin") {
    const std::string command = "pactl get-sink-volume " + sink + " 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
    if (!pipe) return {};
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) output += buffer;
    std::vector<int> levels;
    const std::regex channel(R"([\w-]+: (\d+) /)");
    for (auto match = std::sregex_iterator(output.begin(), output.end(), channel);
         match != std::sregex_iterator(); ++match) {
        levels.push_back(std::stoi((*match)[1]));
    }
    return levels;
}


struct Reading {
    int status = 0;
    std::int32_t left = 0;
    std::int32_t right = 0;
};

// A change made by another client reaches an open handle as an event a moment
// after that client returns, so a read right after it may still see the old
// level. Reads until the expected level shows or two seconds pass.
[[nodiscard]] Reading ReadUntil(SysVolume& unit, std::int32_t left, std::int32_t right) {
    Reading reading;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    do {
        reading.status = unit.Read(reading.left, reading.right);
        if (reading.left == left && reading.right == right) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (std::chrono::steady_clock::now() < deadline);
    return reading;
}

class AlsaSysVolumeTest : public testing::Test {
protected:
    void SetUp() override {
        // Never run against a user's own sound server.
        pulseDir_ = Environment("VELMIRA_PULSE_DIR");
        ASSERT_FALSE(pulseDir_.empty()) << "run through tests/scripts/with_pulse.sh";
        ASSERT_EQ(Environment("PULSE_SERVER"), "unix:" + pulseDir_ + "/native");
        ASSERT_NE(Environment("ALSA_CONFIG_PATH").find(pulseDir_), std::string::npos);
        if (!ServerAnswers()) {
            ASSERT_TRUE(StartServer());
        }
        ASSERT_TRUE(SetSinkVolume("burnin", "40000 40000"));
        ASSERT_EQ(SinkVolume(), (std::vector<int>{40000, 40000}));
    }

    void TearDown() override {
        // A test that stopped the server and failed half-way must not take the rest with it.
        if (!ServerAnswers()) {
            EXPECT_TRUE(StartServer());
        }
    }

    [[nodiscard]] std::filesystem::path CaptureFile() const {
        return std::filesystem::path(pulseDir_) / "stderr.txt";
    }

    std::string pulseDir_;
    AlsaSysVolume unit;
};

TEST_F(AlsaSysVolumeTest, BindsTheSpeakersLineOfTheServer) {
    EXPECT_EQ(unit.Bind(SysVolume::kSpeakersLine), SysVolume::kSucceeded);
}

TEST_F(AlsaSysVolumeTest, OtherLineKindsStayUnbound) {
    EXPECT_EQ(unit.Bind(5), SysVolume::kBindFailed);
    std::int32_t left = 7;
    std::int32_t right = 8;
    EXPECT_EQ(unit.Read(left, right), SysVolume::kReadFailed);
    EXPECT_EQ(left, 7);
    EXPECT_EQ(right, 8);
    EXPECT_EQ(unit.Write(1000, 1000), SysVolume::kWriteFailed);
    EXPECT_EQ(SinkVolume(), (std::vector<int>{40000, 40000}));
}

TEST_F(AlsaSysVolumeTest, ReadGivesTheSinkVolumeLeftChannelFirst) {
    ASSERT_EQ(unit.Bind(SysVolume::kSpeakersLine), SysVolume::kSucceeded);
    std::int32_t left = 0;
    std::int32_t right = 0;
    EXPECT_EQ(unit.Read(left, right), SysVolume::kSucceeded);
    EXPECT_EQ(left, 40000);
    EXPECT_EQ(right, 40000);

    ASSERT_TRUE(SetSinkVolume("burnin", "30000 50000"));
    const Reading reading = ReadUntil(unit, 30000, 50000);
    EXPECT_EQ(reading.status, SysVolume::kSucceeded);
    EXPECT_EQ(reading.left, 30000);
    EXPECT_EQ(reading.right, 50000);
}

TEST_F(AlsaSysVolumeTest, WriteSetsTheSinkVolumeLeftChannelFirst) {
    ASSERT_EQ(unit.Bind(SysVolume::kSpeakersLine), SysVolume::kSucceeded);
    EXPECT_EQ(unit.Write(12000, 12000), SysVolume::kSucceeded);
    EXPECT_EQ(SinkVolume(), (std::vector<int>{12000, 12000}));

    EXPECT_EQ(unit.Write(10000, 20000), SysVolume::kSucceeded);
    EXPECT_EQ(SinkVolume(), (std::vector<int>{10000, 20000}));
}

TEST_F(AlsaSysVolumeTest, ReadSeesAChangeMadeByAnotherClient) {
    ASSERT_EQ(unit.Bind(SysVolume::kSpeakersLine), SysVolume::kSucceeded);
    std::int32_t left = 0;
    std::int32_t right = 0;
    ASSERT_EQ(unit.Read(left, right), SysVolume::kSucceeded);
    ASSERT_EQ(left, 40000);

    for (const int level : {25000, 26000, 27000}) {
        SCOPED_TRACE(level);
        ASSERT_TRUE(SetSinkVolume("burnin", std::to_string(level) + " " + std::to_string(level)));
        const Reading reading = ReadUntil(unit, level, level);
        EXPECT_EQ(reading.status, SysVolume::kSucceeded);
        EXPECT_EQ(reading.left, level);
        EXPECT_EQ(reading.right, level);
    }
}

TEST_F(AlsaSysVolumeTest, WritesOutsideTheRangeAreClampedToIt) {
    struct Case {
        std::int32_t left, right;
        std::vector<int> sink;
    };
    const Case cases[] = {
        {70000, 70000, {kFullVolume, kFullVolume}},
        {-5, 100000, {0, kFullVolume}},
        {-1, 20000, {0, 20000}},
    };
    ASSERT_EQ(unit.Bind(SysVolume::kSpeakersLine), SysVolume::kSucceeded);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.left) + "/" + std::to_string(c.right));
        ASSERT_TRUE(SetSinkVolume("burnin", "40000 40000"));
        EXPECT_EQ(unit.Write(c.left, c.right), SysVolume::kSucceeded);
        EXPECT_EQ(SinkVolume(), c.sink);
    }
}

TEST_F(AlsaSysVolumeTest, ReadAfterAServerRestartReopensTheBinding) {
    ASSERT_EQ(unit.Bind(SysVolume::kSpeakersLine), SysVolume::kSucceeded);
    ASSERT_TRUE(StopServer());
    ASSERT_TRUE(StartServer());
    ASSERT_TRUE(SetSinkVolume("burnin", "33000 34000"));

    std::int32_t left = 0;
    std::int32_t right = 0;
    EXPECT_EQ(unit.Read(left, right), SysVolume::kSucceeded);
    EXPECT_EQ(left, 33000);
    EXPECT_EQ(right, 34000);
}

TEST_F(AlsaSysVolumeTest, WriteAfterAServerRestartReopensTheBinding) {
    ASSERT_EQ(unit.Bind(SysVolume::kSpeakersLine), SysVolume::kSucceeded);
    ASSERT_TRUE(StopServer());
    ASSERT_TRUE(StartServer());
    ASSERT_TRUE(SetSinkVolume("burnin", "40000 40000"));

    EXPECT_EQ(unit.Write(15000, 16000), SysVolume::kSucceeded);
    EXPECT_EQ(SinkVolume(), (std::vector<int>{15000, 16000}));
}

TEST_F(AlsaSysVolumeTest, ServerGoneWhileBoundFailsQuietlyAndRecoversWhenItReturns) {
    ASSERT_EQ(unit.Bind(SysVolume::kSpeakersLine), SysVolume::kSucceeded);
    ASSERT_TRUE(StopServer());

    StderrCapture capture(CaptureFile());
    std::int32_t left = 7;
    std::int32_t right = 8;
    const int readStatus = unit.Read(left, right);
    const int writeStatus = unit.Write(1000, 1000);
    const std::string printed = capture.Take();

    EXPECT_EQ(readStatus, SysVolume::kReadFailed);
    EXPECT_EQ(left, SysVolume::kMissingChannel);
    EXPECT_EQ(right, SysVolume::kMissingChannel);
    EXPECT_EQ(writeStatus, SysVolume::kWriteFailed);
    EXPECT_EQ(printed, "");

    ASSERT_TRUE(StartServer());
    ASSERT_TRUE(SetSinkVolume("burnin", "21000 22000"));
    EXPECT_EQ(unit.Read(left, right), SysVolume::kSucceeded);
    EXPECT_EQ(left, 21000);
    EXPECT_EQ(right, 22000);
}

TEST_F(AlsaSysVolumeTest, NoServerAtAllLeavesTheUnitUnboundWithoutAWord) {
    ASSERT_TRUE(StopServer());
    ASSERT_FALSE(ServerAnswers());

    StderrCapture capture(CaptureFile());
    AlsaSysVolume lonely;
    const int bindStatus = lonely.Bind(SysVolume::kSpeakersLine);
    std::int32_t left = 7;
    std::int32_t right = 8;
    const int readStatus = lonely.Read(left, right);
    const int writeStatus = lonely.Write(1000, 1000);
    const std::string printed = capture.Take();

    EXPECT_EQ(bindStatus, SysVolume::kBindFailed);
    EXPECT_EQ(readStatus, SysVolume::kReadFailed);
    EXPECT_EQ(left, 7);
    EXPECT_EQ(right, 8);
    EXPECT_EQ(writeStatus, SysVolume::kWriteFailed);
    EXPECT_EQ(printed, "");

    // Bound once at start-up and never again: a server that comes later is not picked up.
    ASSERT_TRUE(StartServer());
    EXPECT_EQ(lonely.Read(left, right), SysVolume::kReadFailed);
    EXPECT_EQ(lonely.Write(1000, 1000), SysVolume::kWriteFailed);
    EXPECT_EQ(SinkVolume(), (std::vector<int>{kFullVolume, kFullVolume}));
}

// A second, one-channel null sink made the default for the length of a test.
class MonoDefaultSink {
public:
    MonoDefaultSink() {
        std::unique_ptr<FILE, int (*)(FILE*)> pipe(
            popen("pactl load-module module-null-sink sink_name=mono channels=1", "r"), &pclose);
        char buffer[64] = {};
        if (pipe && std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) module_ = buffer;
        loaded_ = !module_.empty() && Run("pactl set-default-sink mono");
    }
    ~MonoDefaultSink() {
        (void)Run("pactl set-default-sink burnin");
        if (!module_.empty()) (void)Run("pactl unload-module " + module_);
    }
    MonoDefaultSink(const MonoDefaultSink&) = delete;
    MonoDefaultSink& operator=(const MonoDefaultSink&) = delete;

    [[nodiscard]] bool Loaded() const { return loaded_; }

private:
    std::string module_;
    bool loaded_ = false;
};

TEST_F(AlsaSysVolumeTest, OneChannelLineReadsNoRightChannelAndWritesLeftAlone) {
    const MonoDefaultSink mono;
    ASSERT_TRUE(mono.Loaded());
    ASSERT_TRUE(SetSinkVolume("mono", "30000"));
    ASSERT_EQ(SinkVolume("mono"), (std::vector<int>{30000}));
    ASSERT_EQ(unit.Bind(SysVolume::kSpeakersLine), SysVolume::kSucceeded);

    std::int32_t left = 0;
    std::int32_t right = 0;
    EXPECT_EQ(unit.Read(left, right), SysVolume::kSucceeded);
    EXPECT_EQ(left, 30000);
    EXPECT_EQ(right, SysVolume::kMissingChannel);

    EXPECT_EQ(unit.Write(9000, 0), SysVolume::kSucceeded);
    EXPECT_EQ(SinkVolume("mono"), (std::vector<int>{9000}));
    EXPECT_EQ(SinkVolume(), (std::vector<int>{40000, 40000}));
}

}  // namespace
}  // namespace velmira
