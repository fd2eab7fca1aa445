#include "pcm_samples.h"

#include <mpg123.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <memory>

namespace velmira::testing {
namespace {

struct Mpg123Deleter {
    void operator()(mpg123_handle* handle) const {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
};
using Mpg123 = std::unique_ptr<mpg123_handle, Mpg123Deleter>;

[[nodiscard]] bool FrameIsSilent(const Samples& samples, std::size_t frame) {
    return samples[kChannels * frame] == 0 && samples[kChannels * frame + 1] == 0;
}

}  // namespace

Samples DecodeMp3(const std::filesystem::path& file) {
    mpg123_init();
    Mpg123 decoder(mpg123_new(nullptr, nullptr));
    if (!decoder) return {};
    mpg123_param(decoder.get(), MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    mpg123_format_none(decoder.get());
    mpg123_format(decoder.get(), kSampleRate, MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open(decoder.get(), file.c_str()) != MPG123_OK) return {};
    Samples samples;
    std::array<std::int16_t, 16384> buffer{};
    for (;;) {
        std::size_t bytes = 0;
        const int status = mpg123_read(
            decoder.get(), reinterpret_cast<unsigned char*>(buffer.data()), sizeof buffer, &bytes);
        samples.insert(samples.end(), buffer.begin(),
                       buffer.begin() + static_cast<std::ptrdiff_t>(bytes / sizeof(std::int16_t)));
        if (status == MPG123_DONE) return samples;
        if (status != MPG123_OK && status != MPG123_NEW_FORMAT) return {};
    }
}

Samples ReadRawSamples(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(stream),
                                  std::istreambuf_iterator<char>()};
    Samples samples(bytes.size() / sizeof(std::int16_t));
    std::copy_n(bytes.data(), samples.size() * sizeof(std::int16_t),
                reinterpret_cast<char*>(samples.data()));
    return samples;
}

std::size_t FrameCount(const Samples& samples) { return samples.size() / kChannels; }

std::size_t FirstSoundingFrame(const Samples& samples, std::size_t from) {
    const std::size_t frames = FrameCount(samples);
    for (std::size_t frame = from; frame < frames; ++frame) {
        if (!FrameIsSilent(samples, frame)) return frame;
    }
    return frames;
}

std::size_t LongestSilence(const Samples& samples, std::size_t first, std::size_t last) {
    std::size_t longest = 0;
    std::size_t run = 0;
    for (std::size_t frame = first; frame < std::min(last, FrameCount(samples)); ++frame) {
        run = FrameIsSilent(samples, frame) ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

std::size_t MismatchedFrames(const Samples& samples, std::size_t first, const Samples& expected) {
    std::size_t mismatched = 0;
    for (std::size_t frame = 0; frame < FrameCount(expected); ++frame) {
        const std::size_t at = first + frame;
        if (at >= FrameCount(samples) || samples[kChannels * at] != expected[kChannels * frame] ||
            samples[kChannels * at + 1] != expected[kChannels * frame + 1])
            ++mismatched;
    }
    return mismatched;
}

}  // namespace velmira::testing
