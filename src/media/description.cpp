#include "media/description.h"

#include <filesystem>

#include "dialog/interaction.h"
#include "kb/codec.h"
#include "kb/files.h"
#include "media/media_paths.h"

namespace xamo {

std::string description_name(const std::string& distinguisher) {
    return "..\\OPISY\\" + distinguisher + ".OPI";
}

void remember_description(const FactStore& store, MediaMemory& memory) {
    memory.opis.reset();
    const auto distinguisher = store.text(Kind::wyroznik);
    if (!distinguisher) return;
    std::error_code ec;
    const auto absolute =
        std::filesystem::absolute(disk_path(description_name(*distinguisher)), ec);
    if (ec) return;
    memory.opis = absolute.lexically_normal().string();
}

void show_description(MediaMemory& memory, UserInteraction& ui) {
    if (!memory.opis) return;
    std::string path;
    if (!find_file(*memory.opis, &path)) return;
    std::string bytes;
    if (!read_file_bytes(path, bytes).ok) return;
    // The file's name without directory or extension, in upper case.
    const std::string stem = std::filesystem::path(path).stem().string();
    ui.show_description("Czytanie opisu bazy: " + upper_case(stem), cp1250_to_utf8(bytes));
}

}  // namespace xamo
