#include "store/program_directory.h"

#include <system_error>

#include "store/gbk_characters.h"

namespace velmira {

std::filesystem::path ProgramDirectory() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return executable.parent_path();
}

std::filesystem::path ProgressFilePath(const std::filesystem::path& programDirectory,
                                       std::string_view progressFileName) {
    std::filesystem::path path = programDirectory;
    std::size_t begin = 0;
    while (begin < progressFileName.size()) {
        std::size_t separator = FindGbkCharacter(progressFileName, '\\', begin);
        if (separator == std::string_view::npos) separator = progressFileName.size();
        if (separator > begin)
            path /= std::string(progressFileName.substr(begin, separator - begin));
        begin = separator + 1;
    }
    return path;
}

std::string WindowsProgramDirectory(std::string_view executablePath) {
    const std::size_t lastBackslash = FindLastGbkCharacter(executablePath, '\\');
    if (lastBackslash == std::string_view::npos) return {};
    return std::string(executablePath.substr(0, lastBackslash));
}

}  // namespace velmira
