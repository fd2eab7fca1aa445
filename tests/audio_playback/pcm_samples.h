#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace velmira::testing {

inline constexpr int kSampleRate = 44100;
inline constexpr std::size_t kChannels = 2;

// Interleaved stereo 16-bit samples, the form SDL's disk driver writes.
using Samples = std::vector<std::int16_t>;

// The whole file decoded with libmpg123 (the decoder behind SDL2_mixer) as 44.1 kHz
// stereo, encoder delay and padding trimmed as the LAME tag says. Empty if it cannot
// be decoded.
[[nodiscard]] Samples DecodeMp3(const std::filesystem::path& file);

[[nodiscard]] Samples ReadRawSamples(const std::filesystem::path& file);

[[nodiscard]] std::size_t FrameCount(const Samples& samples);

// The first frame with any non-zero sample, or the frame count if all are silent.
[[nodiscard]] std::size_t FirstSoundingFrame(const Samples& samples, std::size_t from = 0);

// The longest run of all-zero frames within [first, last).
[[nodiscard]] std::size_t LongestSilence(const Samples& samples, std::size_t first,
                                         std::size_t last);

// How many frames of `samples`, from frame `first` on, differ from `expected`.
[[nodiscard]] std::size_t MismatchedFrames(const Samples& samples, std::size_t first,
                                           const Samples& expected);

}  // namespace velmira::testing
