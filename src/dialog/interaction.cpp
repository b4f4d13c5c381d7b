#include "dialog/interaction.h"

#include "kb/files.h"
#include "kb/numbers.h"

namespace xamo {

void UserInteraction::write(const std::string& text) {
    if (echo_) echo_(text);
    if (redirect_path_) {
        redirected_text_ += text;
    } else {
        if (!text.empty()) message_at_line_start_ = text.back() == '\n';
        write_message(text);
    }
}

void UserInteraction::write_integer(std::int64_t n) { write(std::to_string(n)); }

void UserInteraction::write_real(double x) { write(display_real(x)); }

void UserInteraction::new_line() {
    static const std::string kNewLine = "\n";  // not a string made for each of a million lines
    write(kNewLine);
}

void UserInteraction::begin_line() {
    const bool at_start = redirect_path_
                              ? redirected_text_.empty() || redirected_text_.back() == '\n'
                              : message_at_line_start_;
    if (!at_start) new_line();
}

void UserInteraction::redirect_to_file(const std::string& path) {
    redirect_path_ = path;
    redirected_text_.clear();
}

std::optional<std::string> UserInteraction::restore_output() {
    if (!redirect_path_) return std::nullopt;
    const std::string path = *redirect_path_;
    std::string text = std::move(redirected_text_);
    redirect_path_.reset();
    redirected_text_.clear();
    // Files get CR LF line ends, as every text file the program writes.
    std::string crlf;
    crlf.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') crlf.push_back('\r');
        crlf.push_back(c);
    }
    const auto result = write_text_file(path, crlf);
    if (!result.ok) return result.error;
    return std::nullopt;
}

void UserInteraction::begin_progress(const std::string&, const std::string&) {}

bool UserInteraction::progress_continues() { return true; }

void UserInteraction::end_progress() {}

bool UserInteraction::confirm_quit() {
    return confirm("Uwaga!", "Czy na pewno chcesz zakończyć program ?");
}

void UserInteraction::confirm_quit_or_stay() {
    if (confirm_quit()) throw QuitRequested();
}

}  // namespace xamo
