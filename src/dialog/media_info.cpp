#include "dialog/media_info.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "kb/numbers.h"

namespace xamo {
namespace {

std::uint32_t le32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

}  // namespace

std::optional<PictureSize> bmp_size(const std::string& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    unsigned char header[26] = {};
    if (!in.read(reinterpret_cast<char*>(header), sizeof header)) return std::nullopt;
    if (header[0] != 'B' || header[1] != 'M') return std::nullopt;
    const auto width = static_cast<std::int32_t>(le32(header + 18));
    const auto height = static_cast<std::int32_t>(le32(header + 22));
    return PictureSize{std::abs(width), std::abs(height)};
}

std::optional<double> wav_seconds(const std::string& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    unsigned char riff[12] = {};
    if (!in.read(reinterpret_cast<char*>(riff), sizeof riff)) return std::nullopt;
    if (std::string(reinterpret_cast<char*>(riff), 4) != "RIFF" ||
        std::string(reinterpret_cast<char*>(riff) + 8, 4) != "WAVE") {
        return std::nullopt;
    }
    std::uint32_t byte_rate = 0;
    // Walk the chunks; a bounded number of them so a damaged file cannot keep us here.
    for (int chunks = 0; chunks < 64; ++chunks) {
        unsigned char head[8] = {};
        if (!in.read(reinterpret_cast<char*>(head), sizeof head)) return std::nullopt;
        const std::string id(reinterpret_cast<char*>(head), 4);
        const std::uint32_t size = le32(head + 4);
        if (id == "fmt " && size >= 16) {
            unsigned char fmt[16] = {};
            if (!in.read(reinterpret_cast<char*>(fmt), sizeof fmt)) return std::nullopt;
            byte_rate = le32(fmt + 8);
            in.seekg(size - 16 + (size & 1), std::ios::cur);
        } else if (id == "data") {
            if (byte_rate == 0) return std::nullopt;
            return static_cast<double>(size) / byte_rate;
        } else {
            in.seekg(size + (size & 1), std::ios::cur);
        }
    }
    return std::nullopt;
}

std::string describe_picture(const std::string& path) {
    const auto size = bmp_size(path);
    if (!size) return "(brak obrazu)";
    return std::to_string(size->width) + " x " + std::to_string(size->height);
}

std::string describe_sound(const std::string& path) {
    const auto seconds = wav_seconds(path);
    if (!seconds) return "(brak dźwięku)";
    return display_real(std::round(*seconds * 100) / 100) + " s";
}

}  // namespace xamo
