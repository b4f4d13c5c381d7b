#include "app/media_commands.h"

#include "app/application.h"
#include "app/file_commands.h"
#include "dialog/write_lines.h"
#include "kb/files.h"
#include "loading/base_texts.h"
#include "media/documents.h"
#include "media/media_files.h"
#include "media/offers.h"

namespace xamo {
namespace {

struct MediaCommands {
    MediaKind kind;
    BaseKind base;
    // the listing of the base file
    int list;
    const char* list_title;      // + file name
    const char* missing_output;  // no base loaded
    const char* missing_note;    // no base loaded
    const char* no_names_note;   // a base without entries
    // one file of the base, chosen from its names
    int view;
    const char* view_title;
    const char* view_label;
    const char* view_prompt;
    const char* no_file;  // + name + "."
    const char* no_base;
    // the media directory
    int browse;
    const char* browse_title;
    const char* mask;
    int directory;
    const char* directory_title;
    int remove;
    DeleteFileTexts delete_texts;
};

const std::vector<MediaCommands>& media_commands() {
    static const std::vector<MediaCommands> commands = {
        {MediaKind::Advice,
         BaseKind::Advice,
         10098,
         "xamo_RD Przegląd pliku bazy rad: ",
         " Brak bazy rad do przeglądania.",
         "Brak bazy rad do przeglądania!",
         "Baza rad nie zawiera nazw rad !",
         10102,
         "Obejrzenie pliku tekstowego rady",
         "Baza rad: ",
         "Wybierz nazwę pliku tekstowego rady, który chcesz zobaczyć:",
         "Brak pliku tekstowego dla rady ",
         "Proszę załadować bazę rad!",
         10103,
         "Obejrzenie podkartotek i plików tekstowych rad: ",
         "*.hlp",
         10104,
         "Tworzenie lub kasowanie podkartoteki plików tekstowych rad : ",
         10106,
         {"Zaznacz plik tekstowy rady do usunięcia",
          {},
          "*.hlp",
          "Usunięcie pliku tekstowego rady",
          "Czy jesteś pewien, że chcesz usunąć plik tekstowy rady ",
          "Plik tekstowy rady "}},
        {MediaKind::Picture,
         BaseKind::Graphics,
         10109,
         "xamo_RD Przegląd pliku bazy: ",
         " Brak bazy grafiki do przeglądania.",
         "Brak bazy grafiki do przeglądania!",
         "Baza grafiki nie zawiera nazw grafik !",
         10113,
         "Obejrzenie pliku graficznego",
         "Baza grafiki:",
         "Wybierz nazwę pliku graficznego, który chcesz zobaczyć:",
         "Brak pliku grafiki z ",
         "Proszę załadować bazę grafiki!",
         10114,
         "Obejrzenie podkartotek i plików graficznych : ",
         "*.bmp",
         10115,
         "Tworzenie lub kasowanie podkartoteki plików grafiki : ",
         10116,
         {"Zaznacz plik grafiki do usunięcia",
          {},
          "*.bmp",
          "Usunięcie pliku grafiki",
          "Czy jesteś pewien, że chcesz usunąć plik grafiki ",
          "Plik grafiki "}},
        {MediaKind::Sound,
         BaseKind::Sounds,
         10119,
         "Przegląd pliku bazy dźwięku: ",
         " Brak bazy dźwięku do przeglądania.",
         "Brak bazy dźwięku do przeglądania!",
         "Baza melodii nie zawiera nazw plików dźwiękowych !",
         10123,
         "Przesłuchanie dźwięku",
         "Baza dźwięku",
         "Wybierz nazwę pliku dźwiękowego, który chcesz przesłuchać:",
         "Brak pliku dźwięku z ",
         "Proszę załadować bazę dźwięku!",
         10124,
         "Obejrzenie podkartotek lub przesłuchanie plików dźwięków ",
         "*.wav",
         10125,
         "Tworzenie lub kasowanie podkartoteki plików dźwięków ",
         10126,
         {"Zaznacz plik dźwięku do usunięcia",
          {},
          "*.wav",
          "Usunięcie pliku dźwiękui",
          "Czy jesteś pewien, że chcesz usunąć plik dźwięku ",
          "Plikdźwięku "}},
    };
    return commands;
}

std::optional<std::string> loaded_base_path(const FactStore& store, BaseKind base) {
    const auto& texts = base_texts(base);
    return texts.path_fact ? store.text(*texts.path_fact) : std::nullopt;
}

bool has_entries(const FactStore& store, MediaKind kind) {
    return store.any(positive_entry_kind(kind)) || store.any(negated_entry_kind(kind));
}

// 10098, 10109, 10119: the whole base file in the read-only text window.
void list_base_file(Application& app, const MediaCommands& c) {
    UserInteraction& ui = app.ui();
    const auto path = loaded_base_path(app.store(), c.base);
    if (!path) {
        write_line(ui, c.missing_output);
        ui.note("Uwaga!", c.missing_note);
        return;
    }
    if (!has_entries(app.store(), c.kind)) {
        ui.note("Uwaga błąd!", c.no_names_note);
        return;
    }
    const TextRead read = read_text_file(*path);
    if (!read.ok) {
        ui.note("Uwaga błąd!", read.text);
        return;
    }
    const std::string title = c.list_title + file_name_of(*path);
    ui.set_main_title(title);
    ui.show_text(title, read.text);
}

// Shows a picture in "Przegląd grafiki", plays a sound or shows an advice text in "Czytanie
// rady"; a file that cannot be shown or played is noted.
void present_file(UserInteraction& ui, MediaKind kind, const std::string& path) {
    switch (kind) {
        case MediaKind::Advice: {
            const TextRead read = read_text_file(path);
            if (read.ok)
                ui.show_advice(read.text);
            else
                ui.note("Uwaga błąd!", read.text);
            return;
        }
        case MediaKind::Picture:
            if (!ui.show_picture_dialog(path))
                ui.note("Uwaga błąd!", "Nie można wyświetlić pliku graficznego " + path + ".");
            return;
        case MediaKind::Sound:
            if (!ui.play_sound(path)) ui.note("Uwaga błąd!", sound_failure(ui, path));
            return;
    }
}

// 10102, 10113, 10123: one file of the loaded base, chosen by its name.
void view_named_file(Application& app, const MediaCommands& c) {
    UserInteraction& ui = app.ui();
    const auto path = loaded_base_path(app.store(), c.base);
    if (!path) {
        ui.note("Uwaga!", c.no_base);
        return;
    }
    const StringList names = media_names(app.store(), c.kind);
    const auto chosen = ui.choose_from_dropdown(
        {c.view_title, c.view_label, file_name_of(*path), c.view_prompt, names});
    if (!chosen || *chosen < 0 || static_cast<std::size_t>(*chosen) >= names.size()) return;
    const std::string& name = names[static_cast<std::size_t>(*chosen)];
    const MediaFile file = resolve_media(app.store(), c.kind, name);
    if (!file.exists) {
        ui.note("Uwaga!", c.no_file + name + ".");
        return;
    }
    present_file(ui, c.kind, file.path);
}

// 10103, 10114, 10124: any file of the media directories, chosen in the file dialog. The
// distinguisher of the knowledge base is kept: later loads are checked against it.
void browse_directory(Application& app, const MediaCommands& c) {
    UserInteraction& ui = app.ui();
    const auto path = ui.choose_file_to_open(c.browse_title, {}, c.mask);
    if (!path || path->empty()) return;
    switch (c.kind) {
        case MediaKind::Advice: {
            const TextRead read = read_text_file(*path);
            if (read.ok)
                ui.show_text(file_name_of(*path), read.text);
            else
                ui.note("Uwaga błąd!", read.text);
            return;
        }
        case MediaKind::Picture:
            ui.show_picture(file_name_of(*path), *path);
            return;
        case MediaKind::Sound:
            present_file(ui, c.kind, *path);
            return;
    }
}

const CreateFileTexts kNewAdviceFile{"Podaj nazwę nowego pliku tekstowego rady",
                                     {{"Pliki tekstowe rad (*.hlp)", "*.hlp"}},
                                     "*.hlp",
                                     "Tworzenie pliku tekstowego rady",
                                     "Nowy plik tekstowy rady ",
                                     "nowego pliku tekstowego rady "};

}  // namespace

void register_media_commands(Application& app) {
    CommandTable& table = app.commands();
    for (const MediaCommands& c : media_commands()) {
        table.set_handler(c.list, [&app, &c] { list_base_file(app, c); });
        table.set_handler(c.view, [&app, &c] { view_named_file(app, c); });
        table.set_handler(c.browse, [&app, &c] { browse_directory(app, c); });
        // Subdirectories are made and removed inside the file dialog itself.
        table.set_handler(c.directory, [&app, &c] {
            app.ui().choose_file_to_open(c.directory_title, {}, c.mask);
        });
        table.set_handler(c.remove, [&app, &c] { delete_chosen_file(app.ui(), c.delete_texts); });
    }
    table.set_handler(10105, [&app] { create_empty_file(app.ui(), kNewAdviceFile); });
}

}  // namespace xamo
