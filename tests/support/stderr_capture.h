#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

namespace velmira {

// Sends everything this process writes to stderr into a file until Take() hands
// it back, so a test can show that a failure stayed silent.
class StderrCapture {
public:
    explicit StderrCapture(std::filesystem::path file) : file_(std::move(file)) {
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        const int target = open(file_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(target, STDERR_FILENO);
        close(target);
    }
    ~StderrCapture() { Restore(); }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    [[nodiscard]] std::string Take() {
        Restore();
        std::ifstream in(file_);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    void Restore() {
        if (saved_ < 0) return;
        std::fflush(stderr);
        dup2(saved_, STDERR_FILENO);
        close(saved_);
        saved_ = -1;
    }

    int saved_ = -1;
    std::filesystem::path file_;
};

}  // namespace velmira
