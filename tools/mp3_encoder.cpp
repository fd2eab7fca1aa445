#include "tools/mp3_encoder.h"

#include <lame/lame.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <vector>

namespace velmira::tracks {
namespace {

constexpr int kBitrateKbps = 192;
// LAME's default algorithm quality: near the best for noise, at several times the
// speed of the slowest settings.
constexpr int kAlgorithmQuality = 5;
constexpr std::size_t kChunkFrames = 1152 * 32;

struct LameCloser {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};
using Lame = std::unique_ptr<lame_global_flags, LameCloser>;

[[nodiscard]] Lame OpenEncoder() {
    Lame lame(lame_init());
    if (!lame) throw std::runtime_error("lame_init failed");
    lame_global_flags* flags = lame.get();
    lame_set_num_channels(flags, 2);
    lame_set_in_samplerate(flags, kSampleRate);
    lame_set_out_samplerate(flags, kSampleRate);
    lame_set_mode(flags, JOINT_STEREO);
    lame_set_VBR(flags, vbr_off);
    lame_set_brate(flags, kBitrateKbps);
    lame_set_quality(flags, kAlgorithmQuality);
    lame_set_bWriteVbrTag(flags, 1);
    // An ID3v2 tag would sit before the Info frame and move it.
    lame_set_write_id3tag_automatic(flags, 0);
    if (lame_init_params(flags) < 0) throw std::runtime_error("lame_init_params failed");
    return lame;
}

[[nodiscard]] std::vector<float> Interleave(const StereoTrack& track, std::size_t first,
                                            std::size_t count) {
    std::vector<float> frames(2 * count);
    for (std::size_t i = 0; i < count; ++i) {
        frames[2 * i] = track.left[first + i];
        frames[2 * i + 1] = track.right[first + i];
    }
    return frames;
}

void Write(std::ofstream& file, const std::vector<unsigned char>& buffer, int byteCount) {
    if (byteCount < 0) throw std::runtime_error("lame failed to encode");
    file.write(reinterpret_cast<const char*>(buffer.data()), byteCount);
}

}  // namespace

void EncodeMp3File(const StereoTrack& track, const std::filesystem::path& target) {
    const Lame lame = OpenEncoder();
    std::filesystem::path partial = target;
    partial += ".part";
    std::ofstream file(partial, std::ios::binary | std::ios::trunc);
    if (!file) throw std::runtime_error("cannot write " + partial.string());

    // LAME's own bound for one call: 1.25 bytes per sample plus 7200.
    std::vector<unsigned char> mp3(kChunkFrames * 5 / 4 + 7200);
    const std::size_t frameCount = std::min(track.left.size(), track.right.size());
    for (std::size_t first = 0; first < frameCount; first += kChunkFrames) {
        const std::size_t count = std::min(kChunkFrames, frameCount - first);
        const std::vector<float> frames = Interleave(track, first, count);
        Write(file, mp3,
              lame_encode_buffer_interleaved_ieee_float(lame.get(), frames.data(),
                                                        static_cast<int>(count), mp3.data(),
                                                        static_cast<int>(mp3.size())));
    }
    Write(file, mp3, lame_encode_flush(lame.get(), mp3.data(), static_cast<int>(mp3.size())));

    // The encoder reserved the file's first frame for the tag; only now, after the
    // flush, does it know the padding to put there.
    const std::size_t tagSize = lame_get_lametag_frame(lame.get(), mp3.data(), mp3.size());
    if (tagSize == 0 || tagSize > mp3.size()) throw std::runtime_error("no LAME tag frame");
    file.seekp(0);
    file.write(reinterpret_cast<const char*>(mp3.data()), static_cast<std::streamsize>(tagSize));
    file.close();
    if (!file) throw std::runtime_error("cannot write " + partial.string());
    std::filesystem::rename(partial, target);
}

}  // namespace velmira::tracks
