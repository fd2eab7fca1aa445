#include "audio/alsa_sys_volume.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "audio/alsa_quiet.h"

namespace velmira {
namespace {

struct MixerCloser {
    void operator()(snd_mixer_t* mixer) const { snd_mixer_close(mixer); }
};
using MixerHandle = std::unique_ptr<snd_mixer_t, MixerCloser>;

struct SimpleElementIdFreer {
    void operator()(snd_mixer_selem_id_t* id) const { snd_mixer_selem_id_free(id); }
};

// The control device that a desktop's sound server (PulseAudio, PipeWire) serves.
constexpr const char* kFirstMixerDevice = "default";
constexpr const char* kSpeakersElement = "Master";
constexpr std::size_t kChannelsExchanged = 2;

[[nodiscard]] bool IsPlaybackVolume(snd_mixer_elem_t* element) {
    return snd_mixer_selem_is_active(element) && snd_mixer_selem_has_playback_volume(element);
}

[[nodiscard]] snd_mixer_elem_t* FindSpeakersElement(snd_mixer_t* mixer) {
    snd_mixer_selem_id_t* rawId = nullptr;
    if (snd_mixer_selem_id_malloc(&rawId) == 0) {
        const std::unique_ptr<snd_mixer_selem_id_t, SimpleElementIdFreer> id(rawId);
        snd_mixer_selem_id_set_name(id.get(), kSpeakersElement);
        snd_mixer_selem_id_set_index(id.get(), 0);
        snd_mixer_elem_t* master = snd_mixer_find_selem(mixer, id.get());
        if (master != nullptr && IsPlaybackVolume(master)) return master;
    }
    for (snd_mixer_elem_t* element = snd_mixer_first_elem(mixer); element != nullptr;
         element = snd_mixer_elem_next(element)) {
        if (IsPlaybackVolume(element)) return element;
    }
    return nullptr;
}

// The element's first two playback channels in ALSA's order (front left, front
// right, rear, ...); a mono element has its one channel.
[[nodiscard]] std::vector<snd_mixer_selem_channel_id_t> ExchangedChannels(
    snd_mixer_elem_t* element) {
    if (snd_mixer_selem_is_playback_mono(element)) return {SND_MIXER_SCHN_MONO};
    std::vector<snd_mixer_selem_channel_id_t> channels;
    for (int channel = 0; channel <= SND_MIXER_SCHN_LAST && channels.size() < kChannelsExchanged;
         ++channel) {
        const auto id = static_cast<snd_mixer_selem_channel_id_t>(channel);
        if (snd_mixer_selem_has_playback_channel(element, id)) channels.push_back(id);
    }
    return channels;
}

[[nodiscard]] std::int32_t ToRawValue(long value) {
    return static_cast<std::int32_t>(std::clamp<long>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

// One open mixer handle and the speakers element inside it. The element belongs
// to the handle, so both live and die together.
class AlsaMixerLine {
public:
    struct Levels {
        std::int32_t first = SysVolume::kMissingChannel;
        std::int32_t second = SysVolume::kMissingChannel;
    };

    [[nodiscard]] static std::unique_ptr<AlsaMixerLine> OpenSpeakers() {
        snd_mixer_t* rawMixer = nullptr;
        if (snd_mixer_open(&rawMixer, 0) < 0) return nullptr;
        MixerHandle mixer(rawMixer);
        // With no sound server the attach fails; that is the usual "no mixer" case.
        if (snd_mixer_attach(mixer.get(), kFirstMixerDevice) < 0) return nullptr;
        if (snd_mixer_selem_register(mixer.get(), nullptr, nullptr) < 0) return nullptr;
        if (snd_mixer_load(mixer.get()) < 0) return nullptr;

        snd_mixer_elem_t* element = FindSpeakersElement(mixer.get());
        if (element == nullptr) return nullptr;
        std::vector<snd_mixer_selem_channel_id_t> channels = ExchangedChannels(element);
        if (channels.empty()) return nullptr;
        long minimum = 0;
        long maximum = 0;
        if (snd_mixer_selem_get_playback_volume_range(element, &minimum, &maximum) < 0) {
            return nullptr;
        }
        return std::unique_ptr<AlsaMixerLine>(
            new AlsaMixerLine(std::move(mixer), element, std::move(channels), minimum, maximum));
    }

    // Empty when the handle is dead (the server went away) or the element fails.
    [[nodiscard]] std::optional<Levels> Read() {
        if (!CatchUp()) return std::nullopt;
        Levels levels;
        for (std::size_t i = 0; i < channels_.size(); ++i) {
            long value = 0;
            if (snd_mixer_selem_get_playback_volume(element_, channels_[i], &value) < 0) {
                return std::nullopt;
            }
            (i == 0 ? levels.first : levels.second) = ToRawValue(value);
        }
        return levels;
    }

    [[nodiscard]] bool Write(std::int32_t first, std::int32_t second) {
        // A dead handle still accepts writes and drops them; only the event check tells.
        if (!CatchUp()) return false;
        for (std::size_t i = 0; i < channels_.size(); ++i) {
            // The server accepts a value outside the range and then ignores it.
            const long value = std::clamp<long>(i == 0 ? first : second, minimum_, maximum_);
            if (snd_mixer_selem_set_playback_volume(element_, channels_[i], value) < 0) {
                return false;
            }
        }
        return true;
    }

private:
    AlsaMixerLine(MixerHandle mixer, snd_mixer_elem_t* element,
                  std::vector<snd_mixer_selem_channel_id_t> channels, long minimum, long maximum)
        : mixer_(std::move(mixer)),
          element_(element),
          channels_(std::move(channels)),
          minimum_(minimum),
          maximum_(maximum) {}

    // An open handle sees changes made elsewhere (the desktop's volume applet)
    // only once their events are handled.
    [[nodiscard]] bool CatchUp() { return snd_mixer_handle_events(mixer_.get()) >= 0; }

    MixerHandle mixer_;
    snd_mixer_elem_t* element_;
    std::vector<snd_mixer_selem_channel_id_t> channels_;
    long minimum_;
    long maximum_;
};

AlsaSysVolume::AlsaSysVolume() = default;
AlsaSysVolume::~AlsaSysVolume() = default;

int AlsaSysVolume::Bind(int lineKind) {
    line_.reset();
    bound_ = false;
    if (lineKind != kSpeakersLine) return kBindFailed;
    bound_ = Reopen();
    return bound_ ? kSucceeded : kBindFailed;
}

int AlsaSysVolume::Read(std::int32_t& left, std::int32_t& right) {
    if (!bound_) return kReadFailed;
    left = kMissingChannel;
    right = kMissingChannel;
    std::optional<AlsaMixerLine::Levels> levels;
    if (line_) levels = line_->Read();
    if (!levels && Reopen()) levels = line_->Read();
    if (!levels) return kReadFailed;
    left = levels->first;
    right = levels->second;
    return kSucceeded;
}

int AlsaSysVolume::Write(std::int32_t left, std::int32_t right) {
    if (!bound_) return kWriteFailed;
    bool written = line_ && line_->Write(left, right);
    if (!written && Reopen()) written = line_->Write(left, right);
    return written ? kSucceeded : kWriteFailed;
}

bool AlsaSysVolume::Reopen() {
    // Nothing is printed when the server is missing, and that includes ALSA's own lines.
    SilenceAlsaErrors();
    line_.reset();
    line_ = AlsaMixerLine::OpenSpeakers();
    return line_ != nullptr;
}

}  // namespace velmira
