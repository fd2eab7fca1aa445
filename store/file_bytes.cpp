#include "store/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "store/file_descriptor.h"

namespace velmira {
namespace {

FileBytes Unreadable() { return {FileReadStatus::Unreadable, {}}; }

}  // namespace

FileBytes ReadFileBytes(const std::filesystem::path& path) {
    // A zero byte would silently shorten the name the system sees.
    if (path.native().find('\0') != std::string::npos) return Unreadable();
    // O_NONBLOCK keeps a planted FIFO from blocking the open.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!file.IsOpen()) {
        return {(errno == ENOENT || errno == ENOTDIR) ? FileReadStatus::Missing
                                                      : FileReadStatus::Unreadable,
                {}};
    }
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)) return Unreadable();

    FileBytes result{FileReadStatus::Read, {}};
    try {
        char buffer[16384];
        for (;;) {
            const ssize_t count = ::read(file.Get(), buffer, sizeof buffer);
            if (count == 0) break;
            if (count < 0) {
                if (errno == EINTR) continue;
                return Unreadable();
            }
            result.bytes.append(buffer, static_cast<std::size_t>(count));
        }
    } catch (const std::bad_alloc&) {
        return Unreadable();
    }
    return result;
}

}  // namespace velmira
