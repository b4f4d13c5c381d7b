// The "Opisy i raporty" menu: reports, descriptions and summaries.
#include "app/application.h"
#include "app/file_commands.h"
#include "app/media_commands.h"
#include "kb/files.h"
#include "media/documents.h"

namespace xamo {
namespace {

const std::vector<FileFilter> kDescriptions{{"Pliki opisów (*.opi)", "*.opi"}};

// 10135. The dialog opens where the report save dialog stores reports (the current directory),
// the same folder each time: climbing to the parent first hid the report just stored.
void read_report_command(Application& app) {
    UserInteraction& ui = app.ui();
    const auto path = ui.choose_file_to_open(
        "Wybierz raport do przeczytania : ", {{"Pliki raportów", "*.rpt"}}, "*.rpt");
    if (!path || path->empty()) return;
    const TextRead report = read_report(app.store(), *path);
    if (!report.ok) {
        ui.note("Uwaga błąd!", report.text);
        return;
    }
    ui.show_text(file_name_of(*path), report.text);
}

// 10137 and 10141: the file as it stands, with the main title naming it.
void read_text_command(Application& app, const std::string& title,
                       const std::vector<FileFilter>& filters, const std::string& mask,
                       const std::string& main_title) {
    UserInteraction& ui = app.ui();
    const auto path = ui.choose_file_to_open(title, filters, mask);
    if (!path || path->empty()) return;
    const TextRead read = read_text_file(*path);
    if (!read.ok) {
        ui.note("Uwaga błąd!", read.text);
        return;
    }
    const std::string name = file_name_of(*path);
    ui.set_main_title(main_title + name);
    ui.show_text(name, read.text);
}

const DeleteFileTexts kDeleteReport{"Wybierz raport przeznaczony do usunięcia",
                                    {{"Pliki raportów (*.rpt)", "*.rpt"}},
                                    "*.rpt",
                                    "Usunięcie raportu",
                                    "Czy jesteś pewien, że chcesz usunąć raport ",
                                    "Raport "};
const DeleteFileTexts kDeleteDescription{"Zaznacz plik opisu do usunięcia",
                                         kDescriptions,
                                         "*.opi",
                                         "Usunięcie pliku opisu",
                                         "Czy jesteś pewien, że chcesz usunąć plik opisu ",
                                         "Plik opisu "};
const DeleteFileTexts kDeleteSummary{"Zaznacz plik opisu do usunięcia",
                                     {{"Pliki podsumowania (*.txt)", "*.txt"}},
                                     "*.txt",
                                     "Usunięcie pliku podsumowania",
                                     "Czy jesteś pewien, że chcesz usunąć plik opisu ",
                                     "Plik podsumowania "};
const CreateFileTexts kNewDescription{
    "Podaj nazwę nowego pliku opisu", kDescriptions,      "*.opi",
    "Tworzenie pliku opisu",          "Nowy plik opisu ", "nowego pliku opisu "};

}  // namespace

void register_document_commands(Application& app) {
    CommandTable& table = app.commands();
    table.set_handler(10135, [&app] { read_report_command(app); });
    table.set_handler(10136, [&app] { delete_chosen_file(app.ui(), kDeleteReport); });
    table.set_handler(10137, [&app] {
        read_text_command(app, "Wybierz nazwę pliku opisu dla czytania", kDescriptions, "*.opi",
                          "Przegląd pliku opisu: ");
    });
    table.set_handler(10138, [&app] {
        const auto path =
            app.ui().choose_file_to_open("Wybierz nazwę edytowanego opisu", kDescriptions, "*.opi");
        if (path && !path->empty()) app.ui().open_editor(*path);
    });
    table.set_handler(10139, [&app] { create_empty_file(app.ui(), kNewDescription); });
    table.set_handler(10140, [&app] { delete_chosen_file(app.ui(), kDeleteDescription); });
    table.set_handler(10141, [&app] {
        read_text_command(app, "Wybierz nazwę pliku podsumowanian dla czytania",
                          {{"Pliki podsumowan(*.txt)", "*.txt"}}, "*.txt",
                          "Przegląd pliku podsumowania: ");
    });
    table.set_handler(10142, [&app] { delete_chosen_file(app.ui(), kDeleteSummary); });
}

}  // namespace xamo
