#pragma once

#include <memory>
#include <string>

#include "audio/playback_facility.h"

namespace velmira {

// The playback facility on SDL2_mixer: MP3 (and whatever else SDL2_mixer decodes)
// through the system's default sound output. SDL2_mixer keeps one music stream per
// process, so a program makes one SdlPlayback. Each Play starts SDL's audio afresh
// and each stop shuts it down, so a sound server that went away and came back is
// picked up again by the next Play.
class SdlPlayback final : public PlaybackFacility {
public:
    // 8192 frames (186 ms at 44.1 kHz) per buffer: a sound server woken for every
    // 2048 frames spends twenty times the CPU, and burn-in does not care about latency.
    static constexpr int kBufferFrames = 8192;
    static constexpr int kSampleRate = 44100;

    SdlPlayback();
    ~SdlPlayback() override;
    SdlPlayback(const SdlPlayback&) = delete;
    SdlPlayback& operator=(const SdlPlayback&) = delete;

    void Play(int repeatCount, const std::string& fileName) override;

private:
    class Player;
    std::unique_ptr<Player> player_;
};

}  // namespace velmira
