// The picture and wave header readers against well-formed, truncated and hostile files.
#include "dialog/media_info.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>

#include "support/temp_dir.h"

namespace xamo {
namespace {

std::string le(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return out;
}

std::string be(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return out;
}

struct Bmp {
    std::int32_t width = 3;
    std::int32_t height = 2;
    std::uint16_t bits = 24;
    std::uint32_t dib = 40;
    std::int64_t pixels_at = -1;    // after the headers unless set
    std::int64_t pixel_bytes = -1;  // whole rows unless set

    std::string bytes() const {
        const std::uint64_t rows =
            static_cast<std::uint64_t>(height < 0 ? -std::int64_t(height) : height);
        const std::uint64_t row = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
        const std::string pixels(
            pixel_bytes >= 0 ? static_cast<std::size_t>(pixel_bytes) : row * rows, '\x55');
        const std::uint32_t offset =
            pixels_at >= 0 ? static_cast<std::uint32_t>(pixels_at) : 14 + dib;
        std::string info = le(dib, 4) + le(static_cast<std::uint32_t>(width), 4) +
                           le(static_cast<std::uint32_t>(height), 4) + le(1, 2) + le(bits, 2) +
                           le(0, 4);
        info.resize(dib, '\0');
        return "BM" + le(static_cast<std::uint32_t>(14 + dib + pixels.size()), 4) + le(0, 4) +
               le(offset, 4) + info + pixels;
    }
};

std::string png(std::uint32_t width, std::uint32_t height, bool with_end = true,
                std::uint32_t ihdr_length = 13) {
    std::string out = "\x89PNG\r\n\x1A\n";
    out += be(ihdr_length, 4) + "IHDR" + be(width, 4) + be(height, 4) + std::string(5, '\x08');
    out += be(0, 4);                              // CRC, not checked
    out += be(3, 4) + "IDAT" + "abc" + be(0, 4);  // some data
    if (with_end) out += be(0, 4) + "IEND" + be(0, 4);
    return out;
}

std::string jpeg_segment(unsigned char marker, const std::string& body) {
    return std::string("\xFF") + static_cast<char>(marker) +
           be(static_cast<std::uint32_t>(body.size() + 2), 2) + body;
}

std::string jpeg(std::uint16_t width, std::uint16_t height) {
    return std::string("\xFF\xD8") + jpeg_segment(0xE0, "JFIF" + std::string(10, '\0')) +
           jpeg_segment(0xC0, std::string("\x08") + be(height, 2) + be(width, 2) +
                                  std::string("\x01\x01\x11\x00", 4)) +
           jpeg_segment(0xDA, std::string(8, '\0')) + "\xFF\xD9";
}

struct Wav {
    std::uint16_t format = 1;
    std::uint16_t channels = 2;
    std::uint32_t rate = 8000;
    std::uint16_t bits = 16;
    std::int64_t align = -1;  // channels * bits / 8 unless set
    std::uint32_t data_claimed = 32000;
    std::size_t data_present = 32000;
    bool format_first = true;

    std::string bytes() const {
        const auto block = static_cast<std::uint32_t>(align >= 0 ? align : channels * (bits / 8));
        const std::string fmt = "fmt " + le(16, 4) + le(format, 2) + le(channels, 2) + le(rate, 4) +
                                le(rate * block, 4) + le(block, 2) + le(bits, 2);
        const std::string data = "data" + le(data_claimed, 4) + std::string(data_present, '\x10');
        // An odd-sized chunk before them, padded to an even length, must be skipped.
        const std::string list = "LIST" + le(3, 4) + "abc" + std::string(1, '\0');
        const std::string body = list + (format_first ? fmt + data : data + fmt);
        return "RIFF" + le(static_cast<std::uint32_t>(4 + body.size()), 4) + "WAVE" + body;
    }
};

class MediaInfo : public ::testing::Test {
  protected:
    std::optional<PictureSize> size_of(const std::string& bytes) {
        return picture_size(dir.write("plik", bytes));
    }
    std::optional<double> seconds_of(const std::string& bytes) {
        return wav_seconds(dir.write("plik.wav", bytes));
    }
    testing::TempDir dir;
};

TEST_F(MediaInfo, WellFormedPicturesGiveTheirSize) {
    for (const auto& [bytes, width, height] :
         {std::tuple{Bmp{}.bytes(), 3, 2}, std::tuple{Bmp{5, -4}.bytes(), 5, 4},
          std::tuple{Bmp{7, 3, 1}.bytes(), 7, 3}, std::tuple{Bmp{2, 2, 24, 124}.bytes(), 2, 2},
          std::tuple{png(640, 480), 640, 480}, std::tuple{jpeg(320, 200), 320, 200}}) {
        const auto size = size_of(bytes);
        ASSERT_TRUE(size);
        EXPECT_EQ(size->width, width);
        EXPECT_EQ(size->height, height);
    }
    // The old core header holds unsigned 16-bit sides.
    std::string core = "BM" + le(0, 4) + le(0, 4) + le(26, 4) + le(12, 4) + le(2, 2) + le(1, 2) +
                       le(1, 2) + le(24, 2) + std::string(8, '\0');
    const auto size = size_of(core);
    ASSERT_TRUE(size);
    EXPECT_EQ(size->width, 2);
    EXPECT_EQ(size->height, 1);
    EXPECT_EQ(describe_picture(dir.write("a.bmp", Bmp{}.bytes())), "3 x 2");
}

TEST_F(MediaInfo, BrokenAndHostilePicturesAreNotPictures) {
    const std::string whole = Bmp{}.bytes();
    const struct {
        const char* what;
        std::string bytes;
    } broken[] = {
        {"empty file", ""},
        {"header cut short", whole.substr(0, 20)},
        {"pixel rows cut short", whole.substr(0, whole.size() - 1)},
        {"INT32_MIN height", Bmp{1, INT32_MIN, 24, 40, -1, 16}.bytes()},
        {"negative width", Bmp{-3, 2, 24, 40, -1, 16}.bytes()},
        {"zero width", Bmp{0, 2}.bytes()},
        {"huge width", Bmp{1 << 30, 1, 1, 40, -1, 16}.bytes()},
        {"bits per pixel 7", Bmp{3, 2, 7}.bytes()},
        {"unknown header size", Bmp{3, 2, 24, 200}.bytes()},
        {"pixels beyond the end", Bmp{3, 2, 24, 40, 1 << 20}.bytes()},
        {"pixels inside the header", Bmp{3, 2, 24, 40, 20}.bytes()},
        {"png without its end chunk", png(10, 10, false)},
        {"png with a zero side", png(0, 10)},
        {"png wider than allowed", png(kMaxPictureSide + 1, 10)},
        {"png with a bad header length", png(10, 10, true, 14)},
        {"png chunk reaching past the end", png(10, 10).substr(0, 33) + be(0x7FFFFFF0, 4) + "IDAT"},
        {"jpeg scan before any frame", "\xFF\xD8" + jpeg_segment(0xDA, "xx") + "\xFF\xD9"},
        {"jpeg segment length 1", std::string("\xFF\xD8\xFF\xE0\x00\x01", 6)},
        {"jpeg cut inside its frame header", jpeg(320, 200).substr(0, 24)},
        {"jpeg with height 0", jpeg(320, 0)},
        {"text", "to nie jest obraz"},
    };
    for (const auto& file : broken) {
        EXPECT_FALSE(size_of(file.bytes)) << file.what;
    }
    EXPECT_FALSE(picture_size(dir.file("brak.bmp")));
    EXPECT_FALSE(picture_size(dir.path().string()));  // a directory
    EXPECT_EQ(describe_picture(dir.file("brak.bmp")), "(brak obrazu)");
}

TEST_F(MediaInfo, WaveHeadersGiveFormatAndDuration) {
    const auto info = wav_info(dir.write("a.wav", Wav{}.bytes()));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->channels, 2);
    EXPECT_EQ(info->sample_rate, 8000u);
    EXPECT_EQ(info->block_align, 4);
    EXPECT_EQ(info->data_size, 32000u);
    EXPECT_DOUBLE_EQ(info->seconds(), 1.0);
    EXPECT_EQ(describe_sound(dir.write("b.wav", Wav{}.bytes())), "1 s");

    // A truncated file holds fewer samples than its header claims: whole frames of what is there.
    Wav cut;
    cut.data_present = 16002;
    EXPECT_DOUBLE_EQ(*seconds_of(cut.bytes()), 0.5);
    Wav mono8;
    mono8.channels = 1;
    mono8.bits = 8;
    mono8.data_claimed = 4000;
    mono8.data_present = 4000;
    EXPECT_DOUBLE_EQ(*seconds_of(mono8.bytes()), 0.5);
}

TEST_F(MediaInfo, BrokenAndHostileWavesAreNotSounds) {
    const auto variant = [](auto change) {
        Wav wav;
        change(wav);
        return wav.bytes();
    };
    const std::string whole = Wav{}.bytes();
    const struct {
        const char* what;
        std::string bytes;
    } broken[] = {
        {"empty file", ""},
        {"cut inside the format", whole.substr(0, 40)},
        {"no RIFF", "RIFX" + whole.substr(4)},
        {"zero channels", variant([](Wav& w) { w.channels = 0; })},
        {"zero sample rate", variant([](Wav& w) { w.rate = 0; })},
        {"block size 0", variant([](Wav& w) { w.align = 0; })},
        {"block size not channels times sample", variant([](Wav& w) { w.align = 3; })},
        {"12-bit samples", variant([](Wav& w) { w.bits = 12; })},
        {"compressed format", variant([](Wav& w) { w.format = 2; })},
        {"samples before the format", variant([](Wav& w) { w.format_first = false; })},
        {"no samples chunk", whole.substr(0, whole.size() - 32008)},
        {"chunk reaching far past the end",
         "RIFF" + le(100, 4) + "WAVE" + "junk" + le(0xFFFFFFF0u, 4) + std::string(40, 'x')},
    };
    for (const auto& file : broken) {
        EXPECT_FALSE(seconds_of(file.bytes)) << file.what;
    }
    EXPECT_EQ(describe_sound(dir.file("brak.wav")), "(brak dźwięku)");
}

}  // namespace
}  // namespace xamo
