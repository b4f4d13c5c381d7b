#include "dialog/recording_interaction.h"

#include <filesystem>

namespace xamo {
namespace {

std::string numbers_line(const std::vector<int>& chosen) {
    std::string line;
    for (int position : chosen) {
        if (!line.empty()) line += ' ';
        line += std::to_string(position + 1);
    }
    return line;
}

std::string number_line(int n) { return std::to_string(n); }

// A button as a person would type it: its caption in lower case without '&' ("tak", "nie",
// "dlaczego?"), or its number when another button reads the same.
std::string button_line(int chosen, const std::vector<std::string>& buttons) {
    const auto typed = [](const std::string& caption) {
        std::string text;
        for (char c : caption) {
            if (c == '&') continue;
            text.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
        }
        return text;
    };
    if (chosen < 1 || chosen > static_cast<int>(buttons.size())) return number_line(chosen);
    const std::string line = typed(buttons[static_cast<std::size_t>(chosen - 1)]);
    int same = 0;
    for (const auto& caption : buttons) same += typed(caption) == line ? 1 : 0;
    const bool plain = !line.empty() && line.find_first_of(" \t,") == std::string::npos;
    return same == 1 && plain ? line : number_line(chosen);
}

}  // namespace

std::string script_path(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path here = fs::current_path(ec);
    if (ec) return path;
    const fs::path absolute = fs::absolute(fs::path(path), ec).lexically_normal();
    if (ec) return path;
    const fs::path relative = absolute.lexically_relative(here);
    if (relative.empty() || *relative.begin() == "..") return absolute.string();
    return relative.string();
}

std::optional<std::string> RecordingInteraction::recorded_path(
    const std::optional<std::string>& path) {
    record(path ? script_path(*path) : std::string());
    return path;
}

void RecordingInteraction::note(const std::string& title, const std::string& text) {
    inner_.note(title, text);
}

int RecordingInteraction::ask(const std::string& title, const std::string& text,
                              const std::vector<std::string>& buttons) {
    const int chosen = inner_.ask(title, text, buttons);
    record(button_line(chosen, buttons));
    return chosen;
}

// Closing without a choice has no console line; the console takes an empty line as the last
// button, which is what closing means wherever a box cannot be cancelled.
std::optional<int> RecordingInteraction::ask_or_cancel(const std::string& title,
                                                       const std::string& text,
                                                       const std::vector<std::string>& buttons) {
    const auto chosen = inner_.ask_or_cancel(title, text, buttons);
    record(chosen ? button_line(*chosen, buttons) : std::string());
    return chosen;
}

bool RecordingInteraction::confirm_deletion(const std::string& title, const std::string& text) {
    const bool yes = inner_.confirm_deletion(title, text);
    record(button_line(yes ? 1 : 2, {"Tak", "Nie"}));
    return yes;
}

void RecordingInteraction::note_in_columns(const std::string& title, const std::string& text) {
    inner_.note_in_columns(title, text);
}

bool RecordingInteraction::confirm(const std::string& title, const std::string& text) {
    const bool yes = inner_.confirm(title, text);
    record(yes ? "tak" : "nie");
    return yes;
}

std::optional<std::string> RecordingInteraction::choose_file_to_open(
    const std::string& title, const std::vector<FileFilter>& filters, const std::string& start) {
    if (next_file_) {
        std::optional<std::string> given = std::move(next_file_);
        next_file_.reset();
        return recorded_path(given);
    }
    return recorded_path(inner_.choose_file_to_open(title, filters, start));
}

std::optional<std::string> RecordingInteraction::choose_file_to_save(
    const std::string& title, const std::vector<FileFilter>& filters, const std::string& start) {
    return recorded_path(inner_.choose_file_to_save(title, filters, start));
}

// A cancelled text or value dialog has no console line either (only the end of the input
// cancels there); an empty line is the nearest.
std::optional<std::string> RecordingInteraction::enter_text(const std::string& title,
                                                            const std::string& prompt,
                                                            const std::string& default_text) {
    const auto text = inner_.enter_text(title, prompt, default_text);
    record(text.value_or(""));
    return text;
}

std::vector<int> RecordingInteraction::choose_from_list(const std::string& title,
                                                        const std::string& prompt,
                                                        const std::vector<std::string>& items,
                                                        bool multiple) {
    const auto chosen = inner_.choose_from_list(title, prompt, items, multiple);
    record(numbers_line(chosen));
    return chosen;
}

std::optional<std::string> RecordingInteraction::enter_value(const std::string& title,
                                                             const std::string& name) {
    const auto value = inner_.enter_value(title, name);
    record(value.value_or(""));
    return value;
}

void RecordingInteraction::explain(const std::string& title,
                                   const std::vector<std::string>& lines) {
    inner_.explain(title, lines);
}

int RecordingInteraction::choose_option(const RadioDialog& dialog) {
    const int chosen = inner_.choose_option(dialog);
    record(number_line(chosen));
    return chosen;
}

std::optional<int> RecordingInteraction::choose_from_dropdown(const DropDownDialog& dialog) {
    const auto chosen = inner_.choose_from_dropdown(dialog);
    // The console reads nothing for an empty drop-down.
    if (!dialog.items.empty()) record(chosen ? number_line(*chosen + 1) : std::string());
    return chosen;
}

void RecordingInteraction::show_text(const std::string& title, const std::string& text) {
    inner_.show_text(title, text);
}

void RecordingInteraction::show_picture(const std::string& title, const std::string& path) {
    inner_.show_picture(title, path);
}

bool RecordingInteraction::show_picture_dialog(const std::string& path) {
    return inner_.show_picture_dialog(path);
}

bool RecordingInteraction::play_sound(const std::string& path) { return inner_.play_sound(path); }

void RecordingInteraction::show_advice(const std::string& text) { inner_.show_advice(text); }

void RecordingInteraction::show_description(const std::string& heading, const std::string& text) {
    inner_.show_description(heading, text);
}

bool RecordingInteraction::open_document(const std::string& path) {
    return inner_.open_document(path);
}

void RecordingInteraction::open_editor(const std::string& path) { inner_.open_editor(path); }

void RecordingInteraction::show_browse(const BrowseView& view) { inner_.show_browse(view); }

std::optional<int> RecordingInteraction::select_item(const std::string& title,
                                                     const std::string& caption,
                                                     const std::vector<std::string>& items) {
    const auto chosen = inner_.select_item(title, caption, items);
    record(chosen ? number_line(*chosen + 1) : std::string("anuluj"));
    return chosen;
}

void RecordingInteraction::begin_progress(const std::string& title, const std::string& text) {
    inner_.begin_progress(title, text);
}

bool RecordingInteraction::progress_continues() { return inner_.progress_continues(); }

void RecordingInteraction::end_progress() { inner_.end_progress(); }

void RecordingInteraction::set_main_title(const std::string& title) {
    inner_.set_main_title(title);
}

void RecordingInteraction::clear_messages() { inner_.clear_messages(); }

}  // namespace xamo
