#include "app/consultation_commands.h"

#include <algorithm>
#include <filesystem>

#include "app/application.h"
#include "kb/files.h"

namespace xamo {

std::string consultation_script(const std::vector<std::string>& lines,
                                const std::string& directory) {
    std::string text;
    if (!directory.empty()) text += kDirectoryComment + directory + "\r\n";
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::optional<std::string> script_directory(const std::string& script) {
    // Looked for among the comments that open the script.
    const std::string key = kDirectoryComment;
    for (std::size_t at = 0; at < script.size() && script[at] == '#';) {
        const std::size_t end = std::min(script.find_first_of("\r\n", at), script.size());
        if (script.compare(at, key.size(), key) == 0 && end > at + key.size())
            return script.substr(at + key.size(), end - at - key.size());
        at = script.find_first_not_of("\r\n", end);
    }
    return std::nullopt;
}

namespace {

// A name typed without an extension gets the scripts' own.
std::string with_script_extension(const std::string& path) {
    return file_name_of(path).find('.') == std::string::npos ? path + kScriptExtension : path;
}

// Where the program started, seen from the folder the script is stored in.
std::string directory_from_script(const std::string& script, const std::string& start) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path folder = fs::absolute(fs::path(script), ec).lexically_normal().parent_path();
    if (ec) return start;
    const fs::path relative = fs::path(start).lexically_relative(folder);
    return relative.empty() ? start : relative.generic_string();
}

void store_consultation(Application& app) {
    // The lines up to this command; its own id is the last one recorded.
    std::vector<std::string> lines = app.consultation_lines();
    if (!lines.empty()) lines.pop_back();
    UserInteraction& ui = app.ui();
    const auto chosen = ui.choose_file_to_save("Zapisz konsultację jako skrypt",
                                               {{"Skrypty konsultacji (*.skr)", "*.skr"}}, "*.skr");
    if (!chosen || chosen->empty()) return;
    const auto path = with_script_extension(*chosen);
    const std::string& directory = app.start_directory();
    const FileResult written =
        write_text_file(path, consultation_script(lines, directory_from_script(path, directory)));
    if (!written.ok) {
        ui.note("Błąd!", "Konsultacja nie została zapisana.\n" + written.error);
        return;
    }
    ui.note("Zapisanie konsultacji",
            "Konsultacja została zapisana w pliku " + path + ".\nOdtworzysz ją poleceniem:\n    " +
                "xamo_rd --console --batch " + directory + " < " + path +
                "\na porównasz z zapisanym przebiegiem poleceniem:\n    xamo_rd --replay " + path +
                " --expect PRZEBIEG");
}

}  // namespace

void register_consultation_commands(Application& app) {
    app.commands().set_handler(kStoreConsultationCommand, [&app] { store_consultation(app); });
}

}  // namespace xamo
