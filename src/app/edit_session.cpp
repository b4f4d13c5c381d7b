#include "app/edit_session.h"

#include <filesystem>
#include <system_error>

#include "app/application.h"
#include "app/base_templates.h"
#include "app/recent_bases.h"
#include "kb/codec.h"
#include "kb/files.h"

namespace xamo {
namespace {

const std::vector<int> kBrowseCommands = {10061, 10062, 10063, 10074, 10075, 10076,
                                          10077, 10079, 10080, 10089, 10090};

}  // namespace

EditorText editor_text_from_bytes(const std::string& bytes) {
    const std::string utf8 = cp1250_to_utf8(bytes);
    EditorText result;
    result.crlf = utf8.find('\n') == std::string::npos || utf8.find("\r\n") != std::string::npos;
    result.text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
        result.text.push_back(utf8[i]);
    }
    return result;
}

std::string file_text_from_editor(const std::string& text, bool crlf) {
    if (!crlf) return text;
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

std::optional<FileStamp> file_stamp(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) return std::nullopt;
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error) return std::nullopt;
    return FileStamp{size, static_cast<std::int64_t>(modified.time_since_epoch().count())};
}

EditSession::EditSession(Application& app, std::string path) : app_(app), path_(std::move(path)) {}

std::optional<std::string> EditSession::load() {
    std::string bytes;
    std::error_code error;
    const auto kind = base_kind_of_file(path_);
    // A new file in a folder that exists: one it could not be saved into is reported at once.
    const auto folder = std::filesystem::absolute(path_, error).parent_path();
    const bool new_base = kind && !std::filesystem::exists(path_, error) && !error &&
                          std::filesystem::is_directory(folder, error);
    if (!new_base) {
        const auto read = read_file_bytes(path_, bytes);
        if (!read.ok) {
            app_.ui().note("Uwaga błąd!", read.error);
            return std::nullopt;
        }
    }
    stamp_ = file_stamp(path_);
    auto text = editor_text_from_bytes(bytes);
    crlf_ = text.crlf;
    if (kind && bytes.empty()) {
        BaseTemplate shown = base_template(*kind);
        hint_ = std::move(shown.hint);
        return std::move(shown.text);
    }
    return std::move(text.text);
}

bool EditSession::edits(const std::string& path) const {
    std::error_code error;
    if (std::filesystem::equivalent(path, path_, error)) return true;
    // A file removed since: compare the names as given.
    return std::filesystem::absolute(path, error).lexically_normal() ==
           std::filesystem::absolute(path_, error).lexically_normal();
}

std::string EditSession::window_title() const { return "Edycja pliku: " + file_name_of(path_); }

bool EditSession::write(const std::string& path, const std::string& text) {
    const auto written = write_text_file(path, file_text_from_editor(text, crlf_));
    if (!written.ok) {
        app_.ui().note("Uwaga błąd!", written.error);
        return false;
    }
    return true;
}

bool EditSession::changed_on_disk() const { return file_stamp(path_) != stamp_; }

bool EditSession::may_overwrite() {
    if (!changed_on_disk()) return true;
    return app_.ui().ask("Zapis pliku",
                         "Plik " + path_ +
                             " został zmieniony na dysku po otwarciu go do edycji.\n"
                             "Czy zastąpić go aktualną postacią z okna edycji ?",
                         {"&TAK", "&NIE"}) == 1;
}

bool EditSession::write_own_file(const std::string& text) {
    if (!may_overwrite() || !write(path_, text)) return false;
    stamp_ = file_stamp(path_);
    app_.ui().write("Plik : " + path_ + " został zapisany");
    app_.ui().new_line();
    return true;
}

bool EditSession::save(const std::string& text) {
    if (!write_own_file(text)) return false;
    app_.ui().note("Uwaga!", "Plik " + path_ + " został zapisany.");
    close();
    return true;
}

bool EditSession::save_and_stay(const std::string& text) {
    if (!write_own_file(text)) return false;
    // The base on disk has changed: what is loaded must be loaded again before it is browsed.
    disable_browsing();
    return true;
}

bool EditSession::save_as(const std::string& text) {
    auto& ui = app_.ui();
    const auto path =
        ui.choose_file_to_save("Zapisz jako", {{"Wszystkie pliki (*.*)", "*.*"}}, "*.*");
    if (!path || !write(*path, text)) return false;
    ui.write("Plik: " + *path + " został zapisany");
    ui.new_line();
    ui.note("Uwaga!", "Plik: " + *path + " został zapisany.");
    close();
    return true;
}

void EditSession::disable_browsing() { app_.commands().set_enabled(kBrowseCommands, false); }

void EditSession::close() {
    disable_browsing();
    closed_ = true;
}

bool EditSession::close_request(const std::string& text, bool changed) {
    if (closed_) return true;
    disable_browsing();
    if (changed) {
        const auto answer = app_.ui().ask_or_cancel(
            "Zapis pliku", "Czy zapisać aktualną postać pliku ?", {"&TAK", "&NIE"});
        if (!answer) return false;
        if (*answer == 1) return save(text);
    }
    close();
    return true;
}

}  // namespace xamo
