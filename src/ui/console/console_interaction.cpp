#include "ui/console/console_interaction.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "dialog/answers.h"
#include "dialog/media_info.h"
#include "dialog/recording_interaction.h"
#include "kb/codec.h"

namespace xamo {
using answers::trim;

namespace {

// Bytes that may begin a character to escape: C0 controls but line break and tab, DEL, and the
// lead byte of the C1 controls.
constexpr std::array<bool, 256> kMayEscape = [] {
    std::array<bool, 256> may{};
    for (unsigned byte = 0; byte < 0x20; ++byte) may[byte] = byte != '\n' && byte != '\t';
    may[0x7F] = true;
    may[0xC2] = true;
    return may;
}();

// Whether one of eight bytes may begin a character to escape (or is a line break or a tab): a
// byte below 0x20, DEL or 0xC2. Transcripts are long and such bytes rare, so plain text is
// skipped a word at a time.
bool may_escape_in(std::uint64_t word) {
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highs = 0x8080808080808080ULL;
    const auto any_zero = [](std::uint64_t v) { return (v - ones) & ~v & highs; };
    const std::uint64_t below_space = (word - ones * 0x20) & ~word & highs;
    return (below_space | any_zero(word ^ (ones * 0x7F)) | any_zero(word ^ (ones * 0xC2))) != 0;
}

// Control characters of base contents (ESC, CR, the C1 codes U+0080-U+009F that undefined
// Windows-1250 bytes become) would drive the terminal: they are printed as \u00XX instead.
// Line breaks and tabs stay.
void append_escaped(std::string& out, std::string_view text) {
    static const char* digits = "0123456789ABCDEF";
    const auto escape = [&](unsigned code) {
        const char escaped[] = {'\\', 'u', '0', '0', digits[code >> 4], digits[code & 15]};
        out.append(escaped, sizeof escaped);
    };
    std::size_t plain = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        std::uint64_t word;
        if (i + sizeof word <= text.size()) {
            std::memcpy(&word, text.data() + i, sizeof word);
            if (!may_escape_in(word)) {
                i += sizeof word;
                continue;
            }
        }
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool c0 = kMayEscape[byte] && byte != 0xC2;
        const bool c1 = byte == 0xC2 && i + 1 < text.size() &&
                        (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80;
        if (!c0 && !c1) {
            ++i;
            continue;
        }
        out.append(text.data() + plain, i - plain);
        if (c1) ++i;
        escape(c1 ? static_cast<unsigned char>(text[i]) : byte);
        plain = ++i;
    }
    out.append(text.data() + plain, text.size() - plain);
}

}  // namespace

ConsoleInteraction::ConsoleInteraction(std::istream& in, std::ostream& out, bool batch)
    : in_(in), out_(out), batch_(batch) {}

ConsoleInteraction::~ConsoleInteraction() { flush(); }

// Output is gathered in blocks, handed to the stream when one is full, and flushed only before
// input is read (read_line) and when the program ends: a long run makes one stream call per
// block instead of two per line, and one write per block.
void ConsoleInteraction::put(std::string_view text) {
    pending_.append(text);
    hand_over_when_full();
}

void ConsoleInteraction::hand_over_when_full() {
    if (pending_.size() >= kOutputBlock) hand_over();
}

void ConsoleInteraction::hand_over() {
    out_.write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
    pending_.clear();
}

void ConsoleInteraction::flush() {
    hand_over();
    out_.flush();
}

void ConsoleInteraction::write_message(const std::string& text) {
    if (text.empty()) return;
    append_escaped(pending_, text);
    hand_over_when_full();
    at_line_start_ = text.back() == '\n';
}

void ConsoleInteraction::begin_block(const std::string& kind) {
    if (!at_line_start_) put("\n");
    put("[" + kind + "]\n");
    at_line_start_ = true;
}

void ConsoleInteraction::line(const std::string& text) {
    append_escaped(pending_, text);
    put("\n");
    at_line_start_ = true;
}

void ConsoleInteraction::say(const std::string& text) {
    if (!at_line_start_) put("\n");
    line(text);
}

std::optional<std::string> ConsoleInteraction::read_line(const std::string& prompt) {
    if (!at_line_start_) put("\n");
    put(prompt);
    flush();
    at_line_start_ = true;
    scripted_question_.reset();
    while (true) {
        std::string text;
        if (!read_bounded_line(text)) {
            put("\n");
            return std::nullopt;
        }
        // A NUL byte would cut a typed file name short: the system would act on another file.
        const bool has_nul = text.find('\0') != std::string::npos;
        if (text.size() <= kMaxLine && !has_nul) {
            if (!text.empty() && text.back() == '\r') text.pop_back();
            // A script stored by the program is Windows-1250; a terminal types UTF-8.
            text = utf8_from_either(text);
            // Comments in a script are skipped unechoed, so they leave the transcript alone.
            if (batch_ && !text.empty() && text.front() == '#') {
                const std::string question = kQuestionComment;
                if (text.compare(0, question.size(), question) == 0)
                    scripted_question_ = text.substr(question.size());
                continue;
            }
            if (batch_) line(text);
            return text;
        }
        // Nothing sensible is that long; the rest of the line is skipped unread.
        if (batch_) put("\n");
        say(has_nul ? "! Wiersz zawiera znak NUL i został pominięty."
                    : "! Wiersz jest za długi (ponad " + std::to_string(kMaxLine) +
                          " znaków) i został pominięty.");
        put(prompt);
        flush();
    }
}

// Reads one line into `text`, keeping at most kMaxLine + 1 characters of it; false at the end of
// the input.
bool ConsoleInteraction::read_bounded_line(std::string& text) {
    text.clear();
    for (int c; (c = in_.get()) != std::char_traits<char>::eof();) {
        if (c == '\n') return true;
        if (text.size() <= kMaxLine) text.push_back(static_cast<char>(c));
    }
    return !text.empty();
}

std::optional<std::string> ConsoleInteraction::read_answer() { return read_line("> "); }

std::optional<std::string> ConsoleInteraction::read_command(const std::string& prompt) {
    return read_line(prompt);
}

void ConsoleInteraction::note(const std::string& title, const std::string& text) {
    begin_block("note");
    line(title);
    line(text);
}

int ConsoleInteraction::ask(const std::string& title, const std::string& text,
                            const std::vector<std::string>& buttons) {
    begin_block("ask");
    line(title);
    line(text);
    std::string choices;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (i) choices += "  ";
        // Appended piece by piece: GCC 12 at -O3 reports a false -Wrestrict overlap for
        // "(" + std::to_string(...).
        choices += '(';
        choices += std::to_string(i + 1);
        choices += ") ";
        choices += buttons[i];
    }
    line(choices);
    while (true) {
        const auto answer = read_answer();
        if (!answer) return static_cast<int>(buttons.size());
        if (const auto chosen = answers::button(*answer, buttons)) return *chosen;
        say("! Nieprawidłowa odpowiedź: " + trim(*answer));
    }
}

bool ConsoleInteraction::confirm(const std::string& title, const std::string& text) {
    return ask(title, text, {"Tak", "Nie"}) == 1;
}

std::optional<std::string> ConsoleInteraction::choose_file(const std::string& kind,
                                                           const std::string& title,
                                                           const std::vector<FileFilter>& filters,
                                                           const std::string& start) {
    begin_block(kind);
    line(title);
    for (const auto& filter : filters) line(filter.description + " " + filter.pattern);
    line(start);
    const auto answer = read_answer();
    if (!answer || trim(*answer).empty()) return std::nullopt;
    std::error_code ec;
    const auto path = std::filesystem::absolute(std::filesystem::path(trim(*answer)), ec);
    if (ec) return trim(*answer);
    return path.lexically_normal().string();
}

std::optional<std::string> ConsoleInteraction::choose_file_to_open(
    const std::string& title, const std::vector<FileFilter>& filters, const std::string& start) {
    return choose_file("open", title, filters, start);
}

std::optional<std::string> ConsoleInteraction::choose_file_to_save(
    const std::string& title, const std::vector<FileFilter>& filters, const std::string& start) {
    return choose_file("save", title, filters, start);
}

std::optional<std::string> ConsoleInteraction::enter_text(const std::string& title,
                                                          const std::string& prompt,
                                                          const std::string& default_text) {
    begin_block("text");
    line(title);
    line(prompt);
    if (!default_text.empty()) line(default_text);
    return read_answer();
}

std::vector<int> ConsoleInteraction::choose_from_list(const std::string& title,
                                                      const std::string& prompt,
                                                      const std::vector<std::string>& items,
                                                      bool multiple) {
    return run_list(title, prompt, items, multiple, false).value_or(std::vector<int>{});
}

std::optional<std::vector<int>> ConsoleInteraction::choose_from_list_or_cancel(
    const std::string& title, const std::string& prompt, const std::vector<std::string>& items,
    bool multiple) {
    return run_list(title, prompt, items, multiple, true);
}

std::optional<std::vector<int>> ConsoleInteraction::run_list(const std::string& title,
                                                             const std::string& prompt,
                                                             const std::vector<std::string>& items,
                                                             bool multiple, bool cancellable) {
    begin_block(multiple ? "choose many" : "choose");
    line(title);
    line(prompt);
    for (std::size_t i = 0; i < items.size(); ++i) {
        line("  " + std::to_string(i + 1) + ". " + items[i]);
    }
    line(cancellable ? "&Kontynuuj  Zakończ  Anuluj" : "&Kontynuuj  Zakończ");
    const int count = static_cast<int>(items.size());
    while (true) {
        const auto answer = read_answer();
        if (!answer && cancellable) return std::nullopt;
        const auto parsed = answers::list(answer.value_or(""), count, multiple);
        if (parsed.kind == answers::ListAnswer::Kind::Quit) {
            confirm_quit_or_stay();
            continue;
        }
        if (parsed.kind == answers::ListAnswer::Kind::Chosen) return parsed.chosen;
        if (parsed.kind == answers::ListAnswer::Kind::Cancel && cancellable) return std::nullopt;
        say("! Nieprawidłowa odpowiedź: " + trim(*answer));
    }
}

std::optional<std::string> ConsoleInteraction::enter_value(const std::string& title,
                                                           const std::string& name) {
    begin_block("value");
    line(title);
    line(name + " =");
    return read_answer();
}

void ConsoleInteraction::explain(const std::string& title, const std::vector<std::string>& lines) {
    begin_block("explanation");
    line(title);
    for (const auto& text : lines) line(text);
}

int ConsoleInteraction::choose_option(const RadioDialog& dialog) {
    begin_block("option");
    line(dialog.title);
    line(dialog.prompt);
    const int count = static_cast<int>(dialog.options.size());
    for (int i = 0; i < count; ++i) {
        line(std::string(i + 1 == dialog.preselected ? "  (*) " : "  ( ) ") +
             std::to_string(i + 1) + ". " + dialog.options[static_cast<std::size_t>(i)]);
    }
    while (true) {
        const auto answer = read_answer();
        if (!answer) return dialog.preselected;
        if (const auto n = answers::option(*answer, count, dialog.preselected)) return *n;
        say("! Nieprawidłowa odpowiedź: " + trim(*answer));
    }
}

// Text of a file or window: one output line per line, CR removed, no final empty line.
void ConsoleInteraction::text_lines(const std::string& text) {
    std::string shown;
    for (char c : text) {
        if (c != '\r') shown.push_back(c);
    }
    if (!shown.empty() && shown.back() == '\n') shown.pop_back();
    if (!shown.empty()) line(shown);
}

std::optional<int> ConsoleInteraction::choose_from_dropdown(const DropDownDialog& dialog) {
    begin_block("dropdown");
    line(dialog.title);
    line(dialog.label);
    line(dialog.base_name);
    line(dialog.prompt);
    for (std::size_t i = 0; i < dialog.items.size(); ++i) {
        line("  " + std::to_string(i + 1) + ". " + dialog.items[i]);
    }
    line("&OK");
    const int count = static_cast<int>(dialog.items.size());
    if (count == 0) return std::nullopt;
    while (true) {
        // The first item stands in the drop-down field when it opens.
        const auto answer = read_answer();
        if (!answer) return std::nullopt;
        if (const auto n = answers::option(*answer, count, 1)) return *n - 1;
        say("! Nieprawidłowa odpowiedź: " + trim(*answer));
    }
}

void ConsoleInteraction::show_text(const std::string& title, const std::string& text) {
    begin_block("window");
    line(title);
    text_lines(text);
}

void ConsoleInteraction::show_picture(const std::string& title, const std::string& path) {
    begin_block("picture");
    line(title);
    line(path);
    line(describe_picture(path));
}

bool ConsoleInteraction::show_picture_dialog(const std::string& path) {
    show_picture("Przegląd grafiki", path);
    return picture_size(path).has_value();
}

bool ConsoleInteraction::play_sound(const std::string& path) {
    begin_block("sound");
    line(path);
    line(describe_sound(path));
    return wav_info(path).has_value();
}

void ConsoleInteraction::show_advice(const std::string& text) {
    begin_block("advice");
    line("Czytanie rady");
    line("Rada eksperta:");
    text_lines(text);
}

void ConsoleInteraction::show_description(const std::string& heading, const std::string& text) {
    begin_block("description");
    line("Czytanie opisu");
    line(heading);
    text_lines(text);
}

// The console names the document; opening it is the user's.
bool ConsoleInteraction::open_document(const std::string& path) {
    begin_block("document");
    line(path);
    return true;
}

void ConsoleInteraction::open_editor(const std::string& path) {
    begin_block("editor");
    line(path);
    line("Edycja plików nie jest dostępna w wersji konsolowej.");
}

// Every item of the window, one after another: "label: value", list elements indented below.
void ConsoleInteraction::show_browse(const BrowseView& view) {
    begin_block("browse");
    line(view.title);
    if (!view.heading.empty()) line(view.heading);
    if (!view.formula.empty()) line(view.formula);
    for (const auto& count : view.counts) line(count.label + ": " + std::to_string(count.value));
    for (const auto& item : view.items) {
        line(view.number_label + ": " + std::to_string(item.number));
        for (std::size_t i = 0; i < view.fields.size() && i < item.values.size(); ++i) {
            const auto& field = view.fields[i];
            const auto& values = item.values[i];
            if (!field.multiline) {
                line("  " + field.label + ": " + (values.empty() ? std::string() : values.front()));
                continue;
            }
            line("  " + field.label + ":");
            for (const auto& value : values) line("    " + value);
        }
    }
}

std::optional<int> ConsoleInteraction::select_item(const std::string& title,
                                                   const std::string& caption,
                                                   const std::vector<std::string>& items) {
    begin_block("select");
    line(title);
    line(caption);
    for (std::size_t i = 0; i < items.size(); ++i) {
        line("  " + std::to_string(i + 1) + ". " + items[i]);
    }
    line("&OK  &Cancel  &Help");
    while (true) {
        const auto answer = read_answer();
        if (!answer) return std::nullopt;
        const auto parsed = answers::selection(*answer, static_cast<int>(items.size()));
        if (parsed.valid) return parsed.chosen;
        say("! Nieprawidłowa odpowiedź: " + trim(*answer));
    }
}

void ConsoleInteraction::set_main_title(const std::string& title) {
    begin_block("title");
    line(title);
}

void ConsoleInteraction::clear_messages() {}

}  // namespace xamo
