#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace velmira::tracks {

inline constexpr int kSampleRate = 44100;

// One channel of samples at full scale +-1.
using Signal = std::vector<float>;

// Uniform white noise in [-1, 1). The engine's output sequence is fixed by the C++
// standard, unlike the library's distributions, so a seed gives the same noise everywhere.
class WhiteNoise {
public:
    explicit WhiteNoise(std::uint64_t seed);
    [[nodiscard]] float Next();

private:
    std::mt19937_64 engine_;
};

// White noise shaped to fall 3 dB per octave, with the subsonic drift removed.
class PinkNoise {
public:
    explicit PinkNoise(std::uint64_t seed);
    [[nodiscard]] float Next();

private:
    WhiteNoise white_;
    double poles_[7] = {};
    double highPassIn_ = 0.0;
    double highPassOut_ = 0.0;
};

// A sine sweep whose frequency rises (or falls) exponentially between two limits.
struct LogSweep {
    double fromHz = 20.0;
    double toHz = 20000.0;
    double seconds = 10.0;
    double startSecond = 0.0;
    double peak = 0.1;
};

[[nodiscard]] Signal WhiteNoiseSignal(std::uint64_t seed, std::size_t length);
[[nodiscard]] Signal PinkNoiseSignal(std::uint64_t seed, std::size_t length);

// Cuts `length` samples from a signal at least `length + crossfade` long so that it
// loops without a seam: its head is crossfaded (equal power) with the samples that
// would have followed its end.
[[nodiscard]] Signal LoopSeamlessly(const Signal& longer, std::size_t length,
                                    std::size_t crossfade);

// Adds the sweep into the signal, faded in and out so that it starts and ends at rest.
void AddSweep(Signal& signal, const LogSweep& sweep);

void Scale(Signal& signal, double gain);
void Add(Signal& signal, const Signal& other);

[[nodiscard]] double RootMeanSquare(const Signal& signal);
[[nodiscard]] double Peak(const Signal& signal);
[[nodiscard]] double FromDecibels(double decibels);

}  // namespace velmira::tracks
