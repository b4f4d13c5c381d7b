// The logic of one edit window, apart from its widgets: reading the file into the editor, saving,
// saving under another name and the close question. The editor holds UTF-8 text with "\n" line
// breaks; the file is Windows-1250 with the line ends it had (CR LF for a new or empty file).
//
// States: open -> (save | save_as | close_request) -> closed. Every way to closed disables the
// browse commands of the loaded bases. save() and save_as() close the
// window only when the file was written; a refused character or a write error keeps the window
// and its text, and the file on disk stays as it was. A close request whose save question is
// cancelled stays open.
#pragma once

#include <optional>
#include <string>

namespace xamo {

class Application;

struct EditorText {
    std::string text;  // UTF-8, "\n" line breaks
    bool crlf = true;  // the file's line ends
};

// Decodes file bytes for the editor.
EditorText editor_text_from_bytes(const std::string& bytes);
// The editor's text with the file's line ends, still UTF-8.
std::string file_text_from_editor(const std::string& text, bool crlf);

class EditSession {
  public:
    EditSession(Application& app, std::string path);

    // Reads the file; on failure shows a note and returns nothing (no window opens).
    std::optional<std::string> load();
    const std::string& path() const { return path_; }
    // "Edycja pliku: " + the file name without its directory.
    std::string window_title() const;
    bool closed() const { return closed_; }

    // "Zapisz": true when the file was written and the window is to close.
    bool save(const std::string& text);
    // "Zapisz jako": true when a file was chosen and written and the window is to close.
    bool save_as(const std::string& text);
    // The close request: disables the browse commands and, when the text was changed, asks
    // whether to save; true when the window may close. Closing the question without an answer
    // keeps the window and its text.
    bool close_request(const std::string& text, bool changed);

  private:
    bool write(const std::string& path, const std::string& text);
    // A base file may have changed: it must be loaded again before it is browsed.
    void disable_browsing();
    // Every way the window closes (saved, saved elsewhere, closed unsaved) disables browsing.
    void close();

    Application& app_;
    std::string path_;
    bool crlf_ = true;
    bool closed_ = false;
};

}  // namespace xamo
