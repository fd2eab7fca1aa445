#include "store/file_descriptor.h"

#include <unistd.h>

namespace velmira {

bool FileDescriptor::Close() {
    if (descriptor_ < 0) return true;
    // On Linux the descriptor is gone even when close fails, so never retry.
    const bool closed = ::close(std::exchange(descriptor_, -1)) == 0;
    return closed;
}

}  // namespace velmira
