#pragma once

namespace velmira {

// Whether Qt can be expected to find a screen: an X11 or Wayland display, or a
// platform chosen explicitly (offscreen, vnc, ...). Without one Qt aborts.
[[nodiscard]] bool DisplayAvailable();

}  // namespace velmira
