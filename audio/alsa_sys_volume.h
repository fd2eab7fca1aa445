#pragma once

#include <cstdint>
#include <memory>

#include "audio/sys_volume.h"

namespace velmira {

class AlsaMixerLine;

// The master-volume unit on ALSA's simple mixer. The first mixer device is
// ALSA's "default" control device (the sound server on a desktop); the
// speakers line is its playback element "Master", or the first element with a
// playback volume where there is no "Master". Raw values are the element's own
// units (0..65536 through PulseAudio or PipeWire); writes are clamped to its range.
//
// Only the first two channels of an element are read and written; further
// channels (rear, centre, ...) are left as they are, so a restore puts back
// everything a scaling changed.
//
// A sound server that restarts kills an open mixer handle for good, so a read or
// write that fails reopens the binding once and tries again; while the server is
// away each call tries that once more. Nothing is ever printed.
class AlsaSysVolume final : public SysVolume {
public:
    AlsaSysVolume();
    ~AlsaSysVolume() override;
    AlsaSysVolume(const AlsaSysVolume&) = delete;
    AlsaSysVolume& operator=(const AlsaSysVolume&) = delete;

    // Binds only kSpeakersLine; any other kind fails.
    int Bind(int lineKind) override;
    [[nodiscard]] int Read(std::int32_t& left, std::int32_t& right) override;
    int Write(std::int32_t left, std::int32_t right) override;

private:
    // Replaces the line with a freshly opened one; false if that fails.
    bool Reopen();

    std::unique_ptr<AlsaMixerLine> line_;
    // Set by a successful Bind: the unit counts as bound from then on, even while
    // a lost server leaves it without a line.
    bool bound_ = false;
};

}  // namespace velmira
