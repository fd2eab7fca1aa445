#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace velmira {

// The folder that holds the running executable; empty when the system cannot say,
// and then the progress files are looked for relative to the working folder.
[[nodiscard]] std::filesystem::path ProgramDirectory();

// The native path of a progress file: "\File\3.ini" under /opt/velmira is
// /opt/velmira/File/3.ini. An empty name gives the program directory itself, which no
// profile read or write accepts.
[[nodiscard]] std::filesystem::path ProgressFilePath(const std::filesystem::path& programDirectory,
                                                     std::string_view progressFileName);

// The Windows form of the program directory: a GBK executable path cut just before its
// last backslash, "D:\Tools\Burn\velmira.exe" giving "D:\Tools\Burn" and
// "C:\velmira.exe" giving "C:". The second byte of a Chinese character is never taken
// for a backslash. Empty when there is no backslash.
[[nodiscard]] std::string WindowsProgramDirectory(std::string_view executablePath);

}  // namespace velmira
