#include "tools/track_synthesis.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velmira::tracks {
namespace {

// Long enough that the fades stay inaudible, short enough to cut a 20 Hz start
// cleanly: one period of the lowest frequency.
constexpr double kSweepFadeSeconds = 0.05;

// First-order high-pass at about 10 Hz: pink noise carries a slowly wandering offset
// that headphones cannot play and that only eats headroom.
constexpr double kHighPassPole = 0.9986;

[[nodiscard]] double RaisedCosine(double position) {
    return 0.5 - 0.5 * std::cos(std::numbers::pi * std::clamp(position, 0.0, 1.0));
}

}  // namespace

WhiteNoise::WhiteNoise(std::uint64_t seed) : engine_(seed) {}

float WhiteNoise::Next() {
    constexpr double kUnit = 1.0 / static_cast<double>(std::uint64_t{1} << 53);
    const double uniform = static_cast<double>(engine_() >> 11) * kUnit;
    return static_cast<float>(2.0 * uniform - 1.0);
}

PinkNoise::PinkNoise(std::uint64_t seed) : white_(seed) {}

float PinkNoise::Next() {
    // A sum of one-pole low-passes spaced so that their slopes add up to -3 dB/octave
    // across the audible band (Paul Kellet's published coefficients).
    const double white = white_.Next();
    poles_[0] = 0.99886 * poles_[0] + white * 0.0555179;
    poles_[1] = 0.99332 * poles_[1] + white * 0.0750759;
    poles_[2] = 0.96900 * poles_[2] + white * 0.1538520;
    poles_[3] = 0.86650 * poles_[3] + white * 0.3104856;
    poles_[4] = 0.55000 * poles_[4] + white * 0.5329522;
    poles_[5] = -0.7616 * poles_[5] - white * 0.0168980;
    const double pink = poles_[0] + poles_[1] + poles_[2] + poles_[3] + poles_[4] + poles_[5] +
                        poles_[6] + white * 0.5362;
    poles_[6] = white * 0.115926;

    highPassOut_ = pink - highPassIn_ + kHighPassPole * highPassOut_;
    highPassIn_ = pink;
    return static_cast<float>(highPassOut_);
}

Signal WhiteNoiseSignal(std::uint64_t seed, std::size_t length) {
    WhiteNoise noise(seed);
    Signal signal(length);
    std::ranges::generate(signal, [&] { return noise.Next(); });
    return signal;
}

Signal PinkNoiseSignal(std::uint64_t seed, std::size_t length) {
    PinkNoise noise(seed);
    // Let the slowest pole and the high-pass settle so the track starts in steady state.
    for (int i = 0; i < kSampleRate; ++i) (void)noise.Next();
    Signal signal(length);
    std::ranges::generate(signal, [&] { return noise.Next(); });
    return signal;
}

Signal LoopSeamlessly(const Signal& longer, std::size_t length, std::size_t crossfade) {
    Signal loop(longer.begin(), longer.begin() + static_cast<std::ptrdiff_t>(length));
    // At the seam the last sample is followed by what the noise would have played
    // next, so the join is as smooth as any other point of the noise.
    for (std::size_t i = 0; i < crossfade; ++i) {
        const double angle = 0.5 * std::numbers::pi * (static_cast<double>(i) + 0.5) /
                             static_cast<double>(crossfade);
        loop[i] =
            static_cast<float>(longer[i] * std::sin(angle) + longer[length + i] * std::cos(angle));
    }
    return loop;
}

void AddSweep(Signal& signal, const LogSweep& sweep) {
    const auto first = static_cast<std::size_t>(std::lround(sweep.startSecond * kSampleRate));
    const auto count = static_cast<std::size_t>(std::lround(sweep.seconds * kSampleRate));
    const double rate = std::log(sweep.toHz / sweep.fromHz) / sweep.seconds;
    const double fadeSamples = kSweepFadeSeconds * kSampleRate;
    for (std::size_t i = 0; i < count && first + i < signal.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double phase = 2.0 * std::numbers::pi * sweep.fromHz * std::expm1(rate * t) / rate;
        const double envelope = RaisedCosine(static_cast<double>(i) / fadeSamples) *
                                RaisedCosine(static_cast<double>(count - 1 - i) / fadeSamples);
        signal[first + i] += static_cast<float>(sweep.peak * envelope * std::sin(phase));
    }
}

void Scale(Signal& signal, double gain) {
    for (float& sample : signal) sample = static_cast<float>(sample * gain);
}

void Add(Signal& signal, const Signal& other) {
    const std::size_t count = std::min(signal.size(), other.size());
    for (std::size_t i = 0; i < count; ++i) signal[i] += other[i];
}

double RootMeanSquare(const Signal& signal) {
    if (signal.empty()) return 0.0;
    double sum = 0.0;
    for (const float sample : signal) sum += static_cast<double>(sample) * sample;
    return std::sqrt(sum / static_cast<double>(signal.size()));
}

double Peak(const Signal& signal) {
    double peak = 0.0;
    for (const float sample : signal) peak = std::max(peak, std::fabs(static_cast<double>(sample)));
    return peak;
}

double FromDecibels(double decibels) { return std::pow(10.0, decibels / 20.0); }

}  // namespace velmira::tracks
