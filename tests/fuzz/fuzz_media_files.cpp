// Fuzz target: the readers of files a knowledge base names — picture and wave headers and stored
// reports. The first byte chooses the reader; the rest is the file.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "dialog/media_info.h"
#include "fuzz_work_dir.h"
#include "kb/facts.h"
#include "media/documents.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static const std::string path = (xamo::fuzzing::work_directory("media") / "plik").string();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data) + 1, static_cast<std::streamsize>(size - 1));
    switch (data[0] % 3) {
        case 0:
            if (const auto picture = xamo::picture_size(path)) {
                if (picture->width <= 0 || picture->height <= 0 ||
                    picture->width > xamo::kMaxPictureSide ||
                    picture->height > xamo::kMaxPictureSide) {
                    __builtin_trap();
                }
            }
            xamo::describe_picture(path);
            break;
        case 1:
            if (const auto wav = xamo::wav_info(path)) {
                // A header that passed must describe samples that are really in the file.
                if (wav->block_align == 0 || wav->sample_rate == 0 ||
                    wav->data_offset + wav->data_size > size - 1) {
                    __builtin_trap();
                }
            }
            xamo::describe_sound(path);
            break;
        default: {
            xamo::FactStore store;
            xamo::read_report(store, path);
            break;
        }
    }
    return 0;
}
