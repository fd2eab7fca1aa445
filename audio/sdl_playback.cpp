#include "audio/sdl_playback.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <optional>
#include <utility>

#include "audio/alsa_quiet.h"

namespace velmira {
namespace {

// Holds SDL's audio subsystem (and the event subsystem it implies) open.
class AudioSubsystem {
public:
    [[nodiscard]] static std::optional<AudioSubsystem> Init() {
        // Otherwise SDL takes over SIGINT and SIGTERM while audio is open and turns
        // them into quit events that nobody reads: Ctrl+C would no longer end the program.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return std::nullopt;
        return AudioSubsystem();
    }

    AudioSubsystem(AudioSubsystem&& other) noexcept : owned_(std::exchange(other.owned_, false)) {}
    AudioSubsystem& operator=(AudioSubsystem&&) = delete;
    ~AudioSubsystem() {
        if (owned_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

private:
    AudioSubsystem() = default;
    bool owned_ = true;
};

// Holds SDL2_mixer's output device open.
class MixerOutput {
public:
    [[nodiscard]] static std::optional<MixerOutput> Open() {
        if (Mix_OpenAudio(SdlPlayback::kSampleRate, AUDIO_S16SYS, 2, SdlPlayback::kBufferFrames) !=
            0)
            return std::nullopt;
        return MixerOutput();
    }

    MixerOutput(MixerOutput&& other) noexcept : owned_(std::exchange(other.owned_, false)) {}
    MixerOutput& operator=(MixerOutput&&) = delete;
    ~MixerOutput() {
        if (!owned_) return;
        Mix_CloseAudio();
        // Unloads the decoders, so each player starts from a clean library state.
        Mix_Quit();
    }

private:
    MixerOutput() = default;
    bool owned_ = true;
};

struct MusicFreer {
    void operator()(Mix_Music* music) const {
        // Halting first takes the music off the mixer thread before it is freed.
        Mix_HaltMusic();
        Mix_FreeMusic(music);
    }
};
using Music = std::unique_ptr<Mix_Music, MusicFreer>;

// SDL2_mixer 2.6 plays a positive count that many times and loops for good only on
// exactly -1.
[[nodiscard]] int MixerLoops(int repeatCount) { return repeatCount < 0 ? -1 : repeatCount; }

}  // namespace

// One file playing on SDL's threads. Members are released in reverse order: the
// music stops before the output closes, and the output closes before SDL's audio.
class SdlPlayback::Player {
public:
    [[nodiscard]] static std::unique_ptr<Player> Start(int repeatCount,
                                                       const std::string& fileName) {
        std::optional<AudioSubsystem> subsystem = AudioSubsystem::Init();
        if (!subsystem) return nullptr;
        std::optional<MixerOutput> output = MixerOutput::Open();
        if (!output) return nullptr;
        Music music(Mix_LoadMUS(fileName.c_str()));
        if (!music) return nullptr;
        if (Mix_PlayMusic(music.get(), MixerLoops(repeatCount)) != 0) return nullptr;
        return std::unique_ptr<Player>(
            new Player(std::move(*subsystem), std::move(*output), std::move(music)));
    }

private:
    Player(AudioSubsystem subsystem, MixerOutput output, Music music)
        : subsystem_(std::move(subsystem)), output_(std::move(output)), music_(std::move(music)) {}

    AudioSubsystem subsystem_;
    MixerOutput output_;
    Music music_;
};

SdlPlayback::SdlPlayback() { SilenceAlsaErrors(); }

SdlPlayback::~SdlPlayback() = default;

void SdlPlayback::Play(int repeatCount, const std::string& fileName) {
    player_.reset();
    if (repeatCount == 0 || fileName.empty()) return;
    player_ = Player::Start(repeatCount, fileName);
}

}  // namespace velmira
