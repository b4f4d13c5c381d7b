#include "dialog/media_info.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "kb/numbers.h"

namespace xamo {
namespace {

// Reads fixed-size pieces at absolute offsets; every offset is checked against the file's size
// in 64-bit arithmetic, so no header field can send a read past the end or wrap around.
class FileReader {
  public:
    explicit FileReader(const std::string& path) {
        std::error_code ec;
        const std::filesystem::path p(path);
        if (!std::filesystem::is_regular_file(p, ec)) return;
        size_ = std::filesystem::file_size(p, ec);
        if (ec) return;
        in_.open(p, std::ios::binary);
    }

    bool open() const { return in_.is_open(); }
    std::uint64_t size() const { return size_; }

    bool read(std::uint64_t offset, unsigned char* out, std::size_t count) {
        if (!open() || offset > size_ || count > size_ - offset) return false;
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(offset));
        return static_cast<bool>(
            in_.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(count)));
    }

  private:
    std::ifstream in_;
    std::uint64_t size_ = 0;
};

std::uint16_t le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

std::uint32_t le32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::uint16_t be16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] << 8 | p[1]); }

std::uint32_t be32(const unsigned char* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 |
           std::uint32_t(p[3]);
}

// Bounds on the walks through a file's chunks and segments, so that a file made of millions of
// empty chunks is refused rather than read for minutes.
constexpr int kMaxChunks = 100000;
constexpr std::uint64_t kJpegFrameWithin = 16u << 20;

bool sane_side(std::int64_t side) { return side >= 1 && side <= kMaxPictureSide; }

std::optional<PictureSize> sized(std::int64_t width, std::int64_t height) {
    if (!sane_side(width) || !sane_side(height)) return std::nullopt;
    return PictureSize{static_cast<int>(width), static_cast<int>(height)};
}

std::optional<PictureSize> bmp_size(FileReader& file) {
    unsigned char h[30] = {};
    if (!file.read(0, h, 18) || h[0] != 'B' || h[1] != 'M') return std::nullopt;
    const std::uint64_t pixels_at = le32(h + 10);
    const std::uint32_t dib_size = le32(h + 14);
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bits = 0;
    std::uint32_t compression = 0;
    if (dib_size == 12) {  // the old core header: unsigned 16-bit sides
        if (!file.read(14, h + 14, 12)) return std::nullopt;
        width = le16(h + 18);
        height = le16(h + 20);
        bits = le16(h + 24);
    } else if (dib_size >= 16 && dib_size <= 124) {
        if (!file.read(14, h + 14, 16)) return std::nullopt;
        width = static_cast<std::int32_t>(le32(h + 18));
        // A negative height means rows stored top-down; the 64-bit negation cannot overflow
        // even for INT32_MIN, which is then refused as too large.
        height = static_cast<std::int32_t>(le32(h + 22));
        if (height < 0) height = -height;
        bits = le16(h + 28);
        if (dib_size >= 20 && file.read(30, h, 4)) compression = le32(h);
    } else {
        return std::nullopt;
    }
    const auto size = sized(width, height);
    if (!size) return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return std::nullopt;
    if (pixels_at < 14 + static_cast<std::uint64_t>(dib_size) || pixels_at >= file.size())
        return std::nullopt;
    // Uncompressed rows (and bit-field masks) have a known length: all of them must be there.
    if (compression == 0 || compression == 3) {
        const std::uint64_t row = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
        if (row * static_cast<std::uint64_t>(height) > file.size() - pixels_at) return std::nullopt;
    }
    return size;
}

std::optional<PictureSize> png_size(FileReader& file) {
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    unsigned char h[24] = {};
    if (!file.read(0, h, 24) || !std::equal(signature, signature + 8, h)) return std::nullopt;
    if (be32(h + 8) != 13 || std::string(reinterpret_cast<char*>(h + 12), 4) != "IHDR")
        return std::nullopt;
    const auto size = sized(be32(h + 16), be32(h + 20));
    if (!size) return std::nullopt;
    // Walk the chunks to the end chunk: a truncated file stops short of it.
    std::uint64_t at = 8;
    for (int chunks = 0; chunks < kMaxChunks; ++chunks) {
        unsigned char chunk[8] = {};
        if (!file.read(at, chunk, 8)) return std::nullopt;
        const std::uint32_t length = be32(chunk);
        if (length > 0x7FFFFFFFu) return std::nullopt;
        if (std::string(reinterpret_cast<char*>(chunk + 4), 4) == "IEND") return size;
        at += 12 + static_cast<std::uint64_t>(length);  // length, type, data, CRC
        if (at >= file.size()) return std::nullopt;
    }
    return std::nullopt;
}

std::optional<PictureSize> jpeg_size(FileReader& file) {
    unsigned char h[2] = {};
    if (!file.read(0, h, 2) || h[0] != 0xFF || h[1] != 0xD8) return std::nullopt;
    std::uint64_t at = 2;
    while (at < std::min(file.size(), kJpegFrameWithin)) {
        if (!file.read(at, h, 2) || h[0] != 0xFF) return std::nullopt;
        const unsigned char marker = h[1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // markers without length
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return std::nullopt;  // no frame header before
        unsigned char segment[7] = {};
        if (!file.read(at + 2, segment, 2)) return std::nullopt;
        const std::uint16_t length = be16(segment);
        if (length < 2) return std::nullopt;
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 8 || !file.read(at + 2, segment, 7)) return std::nullopt;
            return sized(be16(segment + 5), be16(segment + 3));
        }
        at += 2 + static_cast<std::uint64_t>(length);
    }
    return std::nullopt;
}

bool valid_format(const WavInfo& wav) {
    if (wav.format != 1 && wav.format != 3 && wav.format != 0xFFFE) return false;
    if (wav.channels < 1 || wav.channels > 32) return false;
    if (wav.sample_rate < 1 || wav.sample_rate > 1'000'000) return false;
    if (wav.bits_per_sample < 8 || wav.bits_per_sample > 64 || wav.bits_per_sample % 8 != 0)
        return false;
    return wav.block_align == wav.channels * (wav.bits_per_sample / 8);
}

}  // namespace

std::optional<PictureSize> picture_size(const std::string& path) {
    FileReader file(path);
    if (!file.open()) return std::nullopt;
    if (auto size = bmp_size(file)) return size;
    if (auto size = png_size(file)) return size;
    return jpeg_size(file);
}

std::optional<WavInfo> wav_info(const std::string& path) {
    FileReader file(path);
    unsigned char riff[12] = {};
    if (!file.read(0, riff, sizeof riff)) return std::nullopt;
    if (std::string(reinterpret_cast<char*>(riff), 4) != "RIFF" ||
        std::string(reinterpret_cast<char*>(riff) + 8, 4) != "WAVE") {
        return std::nullopt;
    }
    WavInfo wav;
    bool have_format = false;
    std::uint64_t at = 12;
    for (int chunks = 0; chunks < kMaxChunks; ++chunks) {
        unsigned char head[8] = {};
        if (!file.read(at, head, sizeof head)) return std::nullopt;
        const std::string id(reinterpret_cast<char*>(head), 4);
        const std::uint64_t size = le32(head + 4);
        at += 8;
        if (id == "fmt ") {
            unsigned char fmt[16] = {};
            if (size < 16 || !file.read(at, fmt, sizeof fmt)) return std::nullopt;
            wav.format = le16(fmt);
            wav.channels = le16(fmt + 2);
            wav.sample_rate = le32(fmt + 4);
            wav.block_align = le16(fmt + 12);
            wav.bits_per_sample = le16(fmt + 14);
            if (!valid_format(wav)) return std::nullopt;
            have_format = true;
        } else if (id == "data") {
            if (!have_format) return std::nullopt;
            wav.data_offset = at;
            // A truncated file plays what it holds, in whole frames.
            const std::uint64_t present = std::min(size, file.size() - at);
            wav.data_size = present - present % wav.block_align;
            return wav;
        }
        at += size + (size & 1);
    }
    return std::nullopt;
}

std::optional<double> wav_seconds(const std::string& path) {
    const auto wav = wav_info(path);
    if (!wav) return std::nullopt;
    return wav->seconds();
}

std::string describe_picture(const std::string& path) {
    const auto size = picture_size(path);
    if (!size) return "(brak obrazu)";
    return std::to_string(size->width) + " x " + std::to_string(size->height);
}

std::string describe_sound(const std::string& path) {
    const auto seconds = wav_seconds(path);
    if (!seconds) return "(brak dźwięku)";
    return display_real(std::round(*seconds * 100) / 100) + " s";
}

}  // namespace xamo
