#include "app/help.h"

#include <filesystem>

#include "dialog/interaction.h"

namespace xamo {
namespace fs = std::filesystem;

namespace {

std::string ascii_lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// The help file of the current directory, its name in any letter case (a help file written on
// Windows may be "XAMO_RD.CHM").
std::optional<std::string> find_help_file() {
    std::error_code ec;
    const fs::path here = fs::current_path(ec);
    if (ec) return std::nullopt;
    if (fs::is_regular_file(here / kHelpFile, ec)) return (here / kHelpFile).string();
    const std::string wanted = ascii_lower(kHelpFile);
    for (fs::directory_iterator it(here, ec), end; !ec && it != end; it.increment(ec)) {
        if (ascii_lower(it->path().filename().string()) == wanted &&
            fs::is_regular_file(it->path(), ec))
            return it->path().string();
    }
    return std::nullopt;
}

// The directory of the running executable, when the system tells it.
std::optional<fs::path> executable_directory() {
    std::error_code ec;
    const fs::path executable = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return std::nullopt;
    return executable.parent_path();
}

}  // namespace

std::vector<std::string> default_licence_files() {
    std::vector<std::string> files;
    if (const auto beside = executable_directory()) {
        files.push_back((beside->parent_path() / "share" / "xamo_rd" / "LICENSE").string());
    }
#ifdef XAMO_INSTALLED_LICENCE
    files.push_back(XAMO_INSTALLED_LICENCE);
#endif
#ifdef XAMO_SOURCE_LICENCE
    files.push_back(XAMO_SOURCE_LICENCE);
#endif
    return files;
}

std::string licence_line(const std::vector<std::string>& files) {
    std::string line = "Licencja: MIT";
    for (const auto& file : files) {
        std::error_code ec;
        if (fs::is_regular_file(file, ec)) {
            return line + " (tekst licencji: " + fs::path(file).lexically_normal().string() + ")";
        }
    }
    return line;
}

std::vector<std::string> default_guide_directories() {
    std::vector<std::string> directories;
    if (const auto beside = executable_directory()) {
        directories.push_back((*beside / "guide").string());
        directories.push_back((beside->parent_path() / "share" / "xamo_rd" / "guide").string());
    }
#ifdef XAMO_INSTALLED_GUIDE
    directories.push_back(XAMO_INSTALLED_GUIDE);
#endif
#ifdef XAMO_SOURCE_GUIDE
    directories.push_back(XAMO_SOURCE_GUIDE);
#endif
    return directories;
}

std::optional<std::string> find_user_guide(const std::vector<std::string>& directories) {
    for (const auto& directory : directories) {
        std::error_code ec;
        const fs::path index = fs::path(directory) / "index.html";
        if (fs::is_regular_file(index, ec))
            return fs::absolute(index, ec).lexically_normal().string();
    }
    return std::nullopt;
}

void show_help(UserInteraction& ui, const std::vector<std::string>& guide_directories) {
    std::string why;
    const auto help_file = find_help_file();
    if (help_file) {
        if (ui.open_document(*help_file)) return;
        why += "Nie można otworzyć pliku pomocy " + *help_file +
               ": system nie ma programu, który by go otworzył.\n";
    }
    if (const auto guide = find_user_guide(guide_directories)) {
        if (ui.open_document(*guide)) return;
        why += "Nie można otworzyć podręcznika użytkownika " + *guide +
               ": system nie ma przeglądarki stron HTML.";
    } else {
        why += "Nie znaleziono podręcznika użytkownika: program zainstalowano bez niego.";
        if (!help_file)
            why += std::string("\nW bieżącym katalogu nie ma też pliku ") + kHelpFile + ".";
    }
    ui.note("Uwaga!", why);
}

}  // namespace xamo
