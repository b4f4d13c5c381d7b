// A temporary directory of Windows-1250 base files for tests that load bases. Restores the
// current directory, which the load commands change.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "kb/codec.h"

namespace xamo::testing {

class BaseDir {
  public:
    BaseDir() : previous_(std::filesystem::current_path()) {
        dir_ = std::filesystem::temp_directory_path() /
               ("xamo_bases_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::create_directories(dir_);
    }
    ~BaseDir() {
        std::error_code ec;
        std::filesystem::current_path(previous_, ec);
        std::filesystem::remove_all(dir_, ec);
    }

    // Writes the lines (UTF-8) as a Windows-1250 file with CR LF line ends; returns its path.
    std::string write(const std::string& name, const std::vector<std::string>& lines) {
        std::string text;
        for (const auto& line : lines) text += line + "\r\n";
        const auto path = dir_ / name;
        std::ofstream(path, std::ios::binary) << *utf8_to_cp1250(text);
        return path.string();
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

  private:
    std::filesystem::path previous_;
    std::filesystem::path dir_;
};

}  // namespace xamo::testing
