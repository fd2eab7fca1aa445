#pragma once

#include <string>

namespace velmira {

// Plays one sound file at a time for the whole process. Every call first stops and
// releases the current player and closes the sound output; a repeat count of 0 ends
// the call there. Otherwise the file is opened before the call returns and plays
// `repeatCount` times (-1 or below: endlessly) on the facility's own threads. An
// empty file name only stops. Nothing is reported: a file that cannot be played,
// or a missing sound device, leaves it silent.
class PlaybackFacility {
public:
    virtual ~PlaybackFacility() = default;

    virtual void Play(int repeatCount, const std::string& fileName) = 0;
};

}  // namespace velmira
