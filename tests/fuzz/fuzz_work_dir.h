// The private directory of a fuzz target's files: made once per process under the temporary
// directory, and removed when the process exits, as libFuzzer's runs end with exit().
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace xamo::fuzzing {

inline const std::filesystem::path& work_directory(const std::string& target) {
    static const std::filesystem::path dir = [&target] {
        auto d = std::filesystem::temp_directory_path() /
                 ("xamo_fuzz_" + target + "_" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d;
    }();
    static const bool cleaned_at_exit = [] {
        return std::atexit([] {
                   std::error_code ec;
                   std::filesystem::remove_all(dir, ec);
               }) == 0;
    }();
    (void)cleaned_at_exit;
    return dir;
}

}  // namespace xamo::fuzzing
