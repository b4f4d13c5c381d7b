#include "kb/files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "kb/codec.h"

namespace fs = std::filesystem;

namespace xamo {

FileResult read_file_bytes(const std::string& path, std::string& bytes) {
    std::error_code ec;
    if (fs::is_directory(fs::path(path), ec)) {
        return {false, "Plik " + path + " jest katalogiem."};
    }
    std::ifstream in(fs::path(path), std::ios::binary);
    if (!in) return {false, "Nie można otworzyć pliku " + path + "."};
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) return {false, "Błąd odczytu pliku " + path + "."};
    return {true, {}};
}

FileResult write_file_replacing(const std::string& path, const std::string& bytes) {
    const fs::path target = fs::path(path);
    fs::path temp = target;
    temp += ".tmp~";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return {false, "Nie można utworzyć pliku " + path + "."};
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            fs::remove(temp, ignored);
            return {false, "Błąd zapisu pliku " + path + "."};
        }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return {false, "Nie można zapisać pliku " + path + "."};
    }
    return {true, {}};
}

FileResult write_text_file(const std::string& path, const std::string& utf8_text) {
    EncodeError error;
    const auto bytes = utf8_to_cp1250(utf8_text, &error);
    if (!bytes) return {false, error.message()};
    return write_file_replacing(path, *bytes);
}

std::string file_name_of(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string directory_of(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace xamo
