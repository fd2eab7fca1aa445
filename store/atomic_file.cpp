#include "store/atomic_file.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <random>
#include <system_error>

#include "store/file_descriptor.h"

namespace velmira {
namespace {

// Creating the temporary file fails only when the name is taken; a few fresh names are
// plenty against collisions and leftover files.
constexpr int kTemporaryNameAttempts = 16;

// What the new file takes over from the file it replaces.
struct Replacement {
    std::filesystem::path target;
    std::optional<mode_t> permissions;  // none for a new file: the umask decides
    uid_t owner = 0;
    gid_t group = 0;
};

bool MayWrite(const struct stat& status, const std::filesystem::path& path) {
    // access() answers yes for root whatever the mode; Windows refuses a read-only file.
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 &&
           ::access(path.c_str(), W_OK) == 0;
}

std::optional<Replacement> PlanReplacement(const std::filesystem::path& path) {
    if (path.native().find('\0') != std::string::npos || !path.has_filename()) return std::nullopt;
    Replacement plan{path, std::nullopt, 0, 0};
    std::error_code error;
    if (std::filesystem::is_symlink(path, error)) {
        plan.target = std::filesystem::canonical(path, error);
        if (error) return std::nullopt;
    }
    struct stat status {};
    if (::stat(plan.target.c_str(), &status) != 0) {
        if (errno == ENOENT) return plan;
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode) || !MayWrite(status, plan.target)) return std::nullopt;
    plan.permissions = status.st_mode & 07777;
    plan.owner = status.st_uid;
    plan.group = status.st_gid;
    return plan;
}

// Unlinks the temporary file on every way out until the rename has taken it over.
class TemporaryFile {
public:
    TemporaryFile(std::filesystem::path path, FileDescriptor file)
        : path_(std::move(path)), file_(std::move(file)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        file_.Close();
        if (!renamed_) ::unlink(path_.c_str());
    }

    [[nodiscard]] int Descriptor() const { return file_.Get(); }
    bool Close() { return file_.Close(); }
    bool RenameOver(const std::filesystem::path& target) {
        renamed_ = ::rename(path_.c_str(), target.c_str()) == 0;
        return renamed_;
    }

private:
    std::filesystem::path path_;
    FileDescriptor file_;
    bool renamed_ = false;
};

std::optional<TemporaryFile> CreateTemporaryFile(const std::filesystem::path& folder,
                                                 const TemporaryNameSource& nextTemporaryName) {
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        std::filesystem::path candidate = folder / nextTemporaryName();
        // O_EXCL refuses any existing name, a symbolic link included.
        FileDescriptor file(
            ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (file.IsOpen())
            return std::optional<TemporaryFile>(std::in_place, candidate, std::move(file));
        if (errno != EEXIST) return std::nullopt;
    }
    return std::nullopt;
}

bool WriteAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = ::write(descriptor, bytes.data(), bytes.size());
        if (count < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

bool TakeOverAttributes(int descriptor, const Replacement& plan) {
    if (!plan.permissions) return true;
    // Only root can give a file away; a file we could write but not own keeps our owner.
    if (::geteuid() == 0) (void)::fchown(descriptor, plan.owner, plan.group);
    return ::fchmod(descriptor, *plan.permissions) == 0;
}

void FlushFolder(const std::filesystem::path& folder) {
    FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.IsOpen()) (void)::fsync(directory.Get());
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

}  // namespace

bool ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes) {
    const std::string fileName = path.filename().native();
    return ReplaceFileContents(path, bytes, [&fileName] { return RandomTemporaryName(fileName); });
}

bool ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes,
                         const TemporaryNameSource& nextTemporaryName) {
    try {
        const std::optional<Replacement> plan = PlanReplacement(path);
        if (!plan) return false;
        const std::filesystem::path folder = FolderOf(plan->target);
        std::optional<TemporaryFile> temporary = CreateTemporaryFile(folder, nextTemporaryName);
        if (!temporary) return false;
        if (!TakeOverAttributes(temporary->Descriptor(), *plan) ||
            !WriteAll(temporary->Descriptor(), bytes) || ::fsync(temporary->Descriptor()) != 0 ||
            !temporary->Close() || !temporary->RenameOver(plan->target)) {
            return false;
        }
        // Makes the rename itself durable; the new content is in place either way.
        FlushFolder(folder);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::string RandomTemporaryName(std::string_view fileName) {
    std::array<std::uint8_t, 8> random{};
    if (::getrandom(random.data(), random.size(), GRND_NONBLOCK) !=
        static_cast<ssize_t>(random.size())) {
        std::random_device device;
        for (auto& byte : random) byte = static_cast<std::uint8_t>(device());
    }
    constexpr char kHexDigits[] = "0123456789abcdef";
    std::string name = ".";
    name.append(fileName).append(".");
    for (const std::uint8_t byte : random) {
        name.push_back(kHexDigits[byte >> 4]);
        name.push_back(kHexDigits[byte & 0x0F]);
    }
    return name.append(".tmp");
}

}  // namespace velmira
