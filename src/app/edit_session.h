// The logic of one edit window, apart from its widgets: reading the file into the editor, saving,
// saving under another name and the close question. The editor holds UTF-8 text with "\n" line
// breaks; the file is Windows-1250 with the line ends it had (CR LF for a new or empty file).
//
// States: open -> (save | save_as | close_request) -> closed; save_and_stay() keeps it open.
// Every save and every way to closed disables the browse commands of the loaded bases. save()
// and save_as() close the
// window only when the file was written; a refused character or a write error keeps the window
// and its text, and the file on disk stays as it was. A close request whose save question is
// cancelled stays open.
#pragma once

#include <cstdint>
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

// What tells a file changed by someone else: its size and time of last change. Absent for a file
// that does not exist.
struct FileStamp {
    std::uintmax_t size = 0;
    std::int64_t modified = 0;  // ticks of the file clock
    bool operator==(const FileStamp&) const = default;
};
std::optional<FileStamp> file_stamp(const std::string& path);

class EditSession {
  public:
    EditSession(Application& app, std::string path);

    // Reads the file; on failure shows a note and returns nothing (no window opens). A base file
    // that is empty, or does not exist yet in a folder that does, opens with the template of its
    // kind.
    std::optional<std::string> load();
    // What an empty editor shows of the template, never written (see base_templates.h).
    const std::string& hint() const { return hint_; }
    const std::string& path() const { return path_; }
    // True when `path` names the file this session edits (by another spelling too).
    bool edits(const std::string& path) const;
    // "Edycja pliku: " + the file name without its directory.
    std::string window_title() const;
    bool closed() const { return closed_; }
    // True when the file on disk is no longer the one read by load() (another editor or program
    // wrote it, or it was removed).
    bool changed_on_disk() const;

    // "Zapisz": true when the file was written and the window is to close.
    bool save(const std::string& text);
    // "Zapisz i sprawdź": writes the file as "Zapisz" does, without the note, and keeps the
    // window open; true when the file was written.
    bool save_and_stay(const std::string& text);
    // "Zapisz jako": true when a file was chosen and written and the window is to close.
    bool save_as(const std::string& text);
    // The close request: disables the browse commands and, when the text was changed, asks
    // whether to save; true when the window may close. Closing the question without an answer
    // keeps the window and its text.
    bool close_request(const std::string& text, bool changed);

  private:
    bool write(const std::string& path, const std::string& text);
    // The file of this session replaced by `text`, announced in the output stream.
    bool write_own_file(const std::string& text);
    // Before the file is replaced: a file changed on disk since it was read is overwritten only
    // when the user says so.
    bool may_overwrite();
    // A base file may have changed: it must be loaded again before it is browsed.
    void disable_browsing();
    // Every way the window closes (saved, saved elsewhere, closed unsaved) disables browsing.
    void close();

    Application& app_;
    std::string path_;
    bool crlf_ = true;
    std::optional<FileStamp> stamp_;  // of the file as load() read it
    bool closed_ = false;
    std::string hint_;
};

}  // namespace xamo
