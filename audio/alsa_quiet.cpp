#include "audio/alsa_quiet.h"

#include <alsa/asoundlib.h>

namespace velmira {
namespace {

void DropAlsaError(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void SilenceAlsaErrors() { snd_lib_error_set_handler(&DropAlsaError); }

}  // namespace velmira
