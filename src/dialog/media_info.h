// Short descriptions of picture and sound files, read from their headers.
#pragma once

#include <optional>
#include <string>

namespace xamo {

struct PictureSize {
    int width = 0;
    int height = 0;
};

std::optional<PictureSize> bmp_size(const std::string& path);
std::optional<double> wav_seconds(const std::string& path);

// "640 x 480", or a note that the file is missing or not a bitmap.
std::string describe_picture(const std::string& path);
// "1.25 s", or a note that the file is missing or not a wave file.
std::string describe_sound(const std::string& path);

}  // namespace xamo
