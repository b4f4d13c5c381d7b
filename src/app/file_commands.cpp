#include "app/file_commands.h"

#include <filesystem>

#include "kb/files.h"

namespace xamo {

void create_empty_file(UserInteraction& ui, const CreateFileTexts& texts) {
    const auto path = ui.choose_file_to_save(texts.save_title, texts.filters, texts.mask);
    if (!path || path->empty()) return;
    const std::string name = file_name_of(*path);
    const FileResult written = write_file_replacing(*path, "");
    if (!written.ok) {
        ui.note("Uwaga błąd!", written.error);
        return;
    }
    ui.note(texts.title, texts.created_words + name + " został utworzony.");
    const int answer = ui.ask(
        texts.title, "Czy chcesz przejść od razu do edycji\n" + texts.edit_words + name + " ?",
        {"&TAK", "&NIE"});
    if (answer == 1) ui.open_editor(*path);
}

void delete_chosen_file(UserInteraction& ui, const DeleteFileTexts& texts) {
    const auto path = ui.choose_file_to_open(texts.open_title, texts.filters, texts.mask);
    if (!path || path->empty()) return;
    const std::string name = file_name_of(*path);
    if (!ui.confirm_deletion(texts.ask_title, texts.question + name + " ?")) return;
    // Only a file: a directory chosen by mistake is never removed.
    if (const FileResult deleted = delete_file(*path, texts.mask); !deleted.ok) {
        ui.note("Uwaga błąd!", deleted.error);
        return;
    }
    ui.note("Uwaga!", texts.deleted_words + name + " został usunięty.");
}

}  // namespace xamo
