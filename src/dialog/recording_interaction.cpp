#include "dialog/recording_interaction.h"

#include <filesystem>

#include "dialog/answers.h"

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

// A character that may continue a file or directory name.
bool name_character(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.' || c == '/' || c == '\\';
}

}  // namespace

std::string question_label(const std::string& title, const std::string& text) {
    // The last line of a question's text is what it asks; the lines above explain.
    std::string asked;
    std::size_t end = text.size();
    while (asked.empty() && end > 0) {
        const std::size_t start = text.find_last_of('\n', end - 1);
        const std::size_t from = start == std::string::npos ? 0 : start + 1;
        asked = answers::trim(text.substr(from, end - from));
        end = start == std::string::npos ? 0 : start;
    }
    std::string label = answers::trim(title);
    if (!label.empty() && !asked.empty()) label += label.back() == ':' ? " " : ": ";
    return label + asked;
}

std::string relative_paths(const std::string& text, const std::string& directory) {
    std::string dir = directory;
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    if (dir.size() < 2 || dir.front() != '/') return text;
    std::string out;
    std::size_t from = 0;
    for (std::size_t at = text.find(dir); at != std::string::npos; at = text.find(dir, at + 1)) {
        if (at < from) continue;
        const std::size_t end = at + dir.size();
        const bool starts = at == 0 || !name_character(text[at - 1]);
        const bool below = end < text.size() && text[end] == '/';
        const bool whole =
            end == text.size() || !name_character(text[end]) ||
            (text[end] == '.' && (end + 1 == text.size() || !name_character(text[end + 1])));
        if (!starts || (!below && !whole)) continue;
        out.append(text, from, at - from);
        if (whole) out += '.';
        from = below ? end + 1 : end;
    }
    out.append(text, from, std::string::npos);
    return out;
}

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

void RecordingInteraction::record_answer(const std::string& title, const std::string& text,
                                         std::string line) {
    const std::string label = relative_paths(question_label(title, text), home_);
    if (check_) check_(label);
    record(kQuestionComment + label);
    record(std::move(line));
}

std::optional<std::string> RecordingInteraction::recorded_path(
    const std::string& title, const std::optional<std::string>& path) {
    record_answer(title, "", path ? script_path(*path) : std::string());
    return path;
}

void RecordingInteraction::note(const std::string& title, const std::string& text) {
    inner_.note(title, text);
}

int RecordingInteraction::ask(const std::string& title, const std::string& text,
                              const std::vector<std::string>& buttons) {
    const int chosen = inner_.ask(title, text, buttons);
    record_answer(title, text, button_line(chosen, buttons));
    return chosen;
}

// Closing without a choice has no console line; the console takes an empty line as the last
// button, which is what closing means wherever a box cannot be cancelled.
std::optional<int> RecordingInteraction::ask_or_cancel(const std::string& title,
                                                       const std::string& text,
                                                       const std::vector<std::string>& buttons) {
    const auto chosen = inner_.ask_or_cancel(title, text, buttons);
    record_answer(title, text, chosen ? button_line(*chosen, buttons) : std::string());
    return chosen;
}

bool RecordingInteraction::confirm_deletion(const std::string& title, const std::string& text) {
    const bool yes = inner_.confirm_deletion(title, text);
    record_answer(title, text, button_line(yes ? 1 : 2, {"Tak", "Nie"}));
    return yes;
}

void RecordingInteraction::note_in_columns(const std::string& title, const std::string& text) {
    inner_.note_in_columns(title, text);
}

void RecordingInteraction::note_about(const std::string& title, const std::string& text,
                                      const std::string& licence) {
    inner_.note_about(title, text, licence);
}

// The offer to edit is no answer of the command: nothing is recorded.
void RecordingInteraction::note_syntax_error(const std::string& title, const std::string& text,
                                             const std::string& path, std::size_t line) {
    inner_.note_syntax_error(title, text, path, line);
}

bool RecordingInteraction::confirm(const std::string& title, const std::string& text) {
    const bool yes = inner_.confirm(title, text);
    record_answer(title, text, yes ? "tak" : "nie");
    return yes;
}

std::optional<std::string> RecordingInteraction::choose_file_to_open(
    const std::string& title, const std::vector<FileFilter>& filters, const std::string& start) {
    if (next_file_) {
        std::optional<std::string> given = std::move(next_file_);
        next_file_.reset();
        return recorded_path(title, given);
    }
    return recorded_path(title, inner_.choose_file_to_open(title, filters, start));
}

std::optional<std::string> RecordingInteraction::choose_file_to_save(
    const std::string& title, const std::vector<FileFilter>& filters, const std::string& start) {
    return recorded_path(title, inner_.choose_file_to_save(title, filters, start));
}

// A cancelled text or value dialog has no console line either (only the end of the input
// cancels there); an empty line is the nearest.
std::optional<std::string> RecordingInteraction::enter_text(const std::string& title,
                                                            const std::string& prompt,
                                                            const std::string& default_text) {
    const auto text = inner_.enter_text(title, prompt, default_text);
    record_answer(title, prompt, text.value_or(""));
    return text;
}

std::vector<int> RecordingInteraction::choose_from_list(const std::string& title,
                                                        const std::string& prompt,
                                                        const std::vector<std::string>& items,
                                                        bool multiple) {
    const auto chosen = inner_.choose_from_list(title, prompt, items, multiple);
    record_answer(title, prompt, numbers_line(chosen));
    return chosen;
}

std::optional<std::vector<int>> RecordingInteraction::choose_from_list_or_cancel(
    const std::string& title, const std::string& prompt, const std::vector<std::string>& items,
    bool multiple) {
    const auto chosen = inner_.choose_from_list_or_cancel(title, prompt, items, multiple);
    record(chosen ? numbers_line(*chosen) : std::string("anuluj"));
    return chosen;
}

std::optional<std::string> RecordingInteraction::enter_value(const std::string& title,
                                                             const std::string& name) {
    const auto value = inner_.enter_value(title, name);
    record_answer(title, name, value.value_or(""));
    return value;
}

void RecordingInteraction::explain(const std::string& title,
                                   const std::vector<std::string>& lines) {
    inner_.explain(title, lines);
}

int RecordingInteraction::choose_option(const RadioDialog& dialog) {
    const int chosen = inner_.choose_option(dialog);
    record_answer(dialog.title, dialog.prompt, number_line(chosen));
    return chosen;
}

std::optional<int> RecordingInteraction::choose_from_dropdown(const DropDownDialog& dialog) {
    const auto chosen = inner_.choose_from_dropdown(dialog);
    // The console reads nothing for an empty drop-down.
    if (!dialog.items.empty())
        record_answer(dialog.title, dialog.prompt, chosen ? number_line(*chosen + 1) : "");
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
    record_answer(title, caption, chosen ? number_line(*chosen + 1) : std::string("anuluj"));
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
