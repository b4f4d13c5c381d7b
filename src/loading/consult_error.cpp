#include "loading/consult_error.h"

#include "dialog/interaction.h"
#include "kb/files.h"

namespace xamo {

bool show_consult_error(UserInteraction& ui, const ReadError& error, const std::string& full_path) {
    if (!error.is_syntax() || error.position < 1 || error.position > 29999) return false;
    const std::string caret(error.caret_column(), ' ');
    const std::string line = error.shown_line();
    ui.new_line();
    ui.new_line();
    ui.write("Błąd syntaksu w pliku " + full_path);
    ui.new_line();
    ui.write(line);
    ui.new_line();
    ui.write(caret + "^");
    ui.new_line();
    ui.write(error.message());
    ui.new_line();
    ui.new_line();
    ui.note_syntax_error("Obsługa błędu",
                         "Błąd syntaksu w pliku " + file_name_of(full_path) + "\n\n" + line + "\n" +
                             caret + "^\n" + error.message(),
                         full_path, error.line_number);
    return true;
}

}  // namespace xamo
