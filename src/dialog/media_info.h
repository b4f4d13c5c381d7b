// Picture and sound files read from their headers: what the console prints instead of showing or
// playing them, and the check made before a file is handed to a decoder. The files come from the
// user's bases and may be missing, truncated or hostile: every field is checked against the file's
// real size and against sane bounds, and a file that fails any check is "not a picture" or "not a
// sound" rather than a risk.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace xamo {

struct PictureSize {
    int width = 0;
    int height = 0;
};

// Larger sides are refused: no picture of a knowledge base needs them, and decoding one would
// cost gigabytes.
inline constexpr int kMaxPictureSide = 16384;

// The size of a BMP, PNG or JPEG file whose header is complete and sane (a BMP's pixel data must
// be all there, a PNG must reach its end chunk).
std::optional<PictureSize> picture_size(const std::string& path);

struct WavInfo {
    std::uint16_t format = 0;  // 1 PCM, 3 IEEE float, 0xFFFE extensible
    std::uint16_t channels = 0;
    std::uint32_t sample_rate = 0;
    std::uint16_t block_align = 0;  // bytes per frame
    std::uint16_t bits_per_sample = 0;
    std::uint64_t data_offset = 0;  // where the samples start in the file
    std::uint64_t data_size = 0;    // bytes of whole frames actually present in the file

    double seconds() const {
        return static_cast<double>(data_size / block_align) / static_cast<double>(sample_rate);
    }
};

// The format and samples of a RIFF/WAVE file, or nothing when its header is broken.
std::optional<WavInfo> wav_info(const std::string& path);
std::optional<double> wav_seconds(const std::string& path);

// "640 x 480", or a note that the file is missing or not a picture.
std::string describe_picture(const std::string& path);
// "1.25 s", or a note that the file is missing or not a wave file.
std::string describe_sound(const std::string& path);

}  // namespace xamo
