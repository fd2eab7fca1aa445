#pragma once

#include <filesystem>

#include "tools/stage_track_recipes.h"

namespace velmira::tracks {

// Writes the track as a 192 kbit/s MP3 whose first frame carries the LAME/Info tag:
// it tells the decoder how many samples of encoder delay and padding to drop, so the
// file loops sample-exactly. The file appears complete or not at all. Throws
// std::runtime_error when the encoder or the file fails.
void EncodeMp3File(const StereoTrack& track, const std::filesystem::path& target);

}  // namespace velmira::tracks
