#include "app/display_check.h"

#include <cstdlib>

namespace velmira {
namespace {

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

bool DisplayAvailable() {
    return Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM");
}

}  // namespace velmira
