#pragma once

namespace velmira {

// ALSA reports every failed open as "ALSA lib ..." lines on stderr, and SDL's ALSA
// fallback goes through the same library. Failures are silent in this program,
// so this installs a handler that drops them. Safe to call more than once.
void SilenceAlsaErrors();

}  // namespace velmira
