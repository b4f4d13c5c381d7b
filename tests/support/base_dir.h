// A temporary directory of Windows-1250 base files for tests that load bases. Restores the
// current directory, which the load commands change.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "kb/codec.h"
#include "support/temp_dir.h"

namespace xamo::testing {

class BaseDir {
  public:
    BaseDir() : previous_(std::filesystem::current_path()) {}
    ~BaseDir() {
        std::error_code ec;
        std::filesystem::current_path(previous_, ec);
    }

    // Writes the lines (UTF-8) as a Windows-1250 file with CR LF line ends; returns its path.
    std::string write(const std::string& name, const std::vector<std::string>& lines) {
        std::string text;
        for (const auto& line : lines) text += line + "\r\n";
        return dir_.write(name, *utf8_to_cp1250(text));
    }
    // Raw bytes, for media files beside the bases.
    std::string write_bytes(const std::string& name, const std::string& bytes) {
        return dir_.write(name, bytes);
    }
    std::string path(const std::string& name) const { return dir_.file(name); }

  private:
    std::filesystem::path previous_;
    TempDir dir_;
};

}  // namespace xamo::testing
