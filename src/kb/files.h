// Whole-file reading and safe replacing writes. Paths are UTF-8; contents are raw bytes.
#pragma once

#include <optional>
#include <string>

namespace xamo {

struct FileResult {
    bool ok = false;
    std::string error;  // Polish, for a note, when !ok
};

// Reads the whole file; fails on a missing file, a directory or a read error.
FileResult read_file_bytes(const std::string& path, std::string& bytes);
// Writes to a temporary file beside `path` and renames it over `path`, so a failure never leaves
// a truncated file behind.
FileResult write_file_replacing(const std::string& path, const std::string& bytes);
// Writes UTF-8 text as Windows-1250; a character it cannot hold refuses the whole write.
FileResult write_text_file(const std::string& path, const std::string& utf8_text);

std::string file_name_of(const std::string& path);
std::string directory_of(const std::string& path);

}  // namespace xamo
