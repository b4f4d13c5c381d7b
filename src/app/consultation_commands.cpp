#include "app/consultation_commands.h"

#include "app/application.h"
#include "kb/files.h"

namespace xamo {

std::string consultation_script(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

namespace {

void store_consultation(Application& app) {
    // The lines up to this command; its own id is the last one recorded.
    std::vector<std::string> lines = app.consultation_lines();
    if (!lines.empty()) lines.pop_back();
    UserInteraction& ui = app.ui();
    const auto path = ui.choose_file_to_save("Zapisz konsultację jako skrypt",
                                             {{"Skrypty konsultacji (*.txt)", "*.txt"}}, "*.txt");
    if (!path || path->empty()) return;
    const FileResult written = write_text_file(*path, consultation_script(lines));
    if (!written.ok) {
        ui.note("Błąd!", "Konsultacja nie została zapisana.\n" + written.error);
        return;
    }
    const std::string& directory = app.start_directory();
    ui.note("Zapisanie konsultacji",
            "Konsultacja została zapisana w pliku " + *path + ".\nOdtworzysz ją poleceniem:\n    " +
                "xamo_rd --console --batch " + directory + " < " + *path +
                "\na porównasz z zapisanym przebiegiem poleceniem:\n    xamo_rd --replay " + *path +
                " --expect PRZEBIEG " + directory);
}

}  // namespace

void register_consultation_commands(Application& app) {
    app.commands().set_handler(kStoreConsultationCommand, [&app] { store_consultation(app); });
}

}  // namespace xamo
