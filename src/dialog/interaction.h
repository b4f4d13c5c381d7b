// The services through which every command talks to the user. Toolkit-free: the scripted (tests),
// console and Qt front ends implement the dialogs; the output stream logic lives here so that
// redirection to a file behaves the same everywhere.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "dialog/browse_view.h"

namespace xamo {

struct FileFilter {
    std::string description;  // "Bazy reguł (RE*.BRD)"
    std::string pattern;      // "re*.BRD", matched without regard to case
};

// Thrown when the user confirms "Zakończ" inside a dialog: unwinds the running command; the
// command dispatcher catches it and ends the program cleanly.
struct QuitRequested : std::runtime_error {
    QuitRequested() : std::runtime_error("quit requested") {}
};

// A drop-down list under a read-only field naming a base, with one "&OK" button.
struct DropDownDialog {
    std::string title;
    std::string label;      // "Baza rad: "
    std::string base_name;  // shown beside the label
    std::string prompt;
    std::vector<std::string> items;
};

struct RadioDialog {
    std::string title;
    std::string prompt;
    std::vector<std::string> options;
    int preselected = 1;  // 1-based
};

class UserInteraction {
  public:
    virtual ~UserInteraction() = default;

    // --- dialogs -------------------------------------------------------------------------------
    virtual void note(const std::string& title, const std::string& text) = 0;
    // Returns the 1-based position of the chosen button; closing counts as the last one.
    virtual int ask(const std::string& title, const std::string& text,
                    const std::vector<std::string>& buttons) = 0;
    // Like ask(), but closing the box without a choice (Escape, its close button) cancels and
    // returns nothing. Front ends without such a gesture (the console, scripts) answer as ask().
    virtual std::optional<int> ask_or_cancel(const std::string& title, const std::string& text,
                                             const std::vector<std::string>& buttons) {
        return ask(title, text, buttons);
    }
    // Yes/No with a question icon, Yes is the default.
    virtual bool confirm(const std::string& title, const std::string& text) = 0;
    // The question before a deletion: true for "Tak". "Nie" is the default, so that a hasty
    // Enter deletes nothing (the console's empty line already takes the last button).
    virtual bool confirm_deletion(const std::string& title, const std::string& text) {
        return ask(title, text, {"Tak", "Nie"}) == 1;
    }
    // A note whose lines line up by column (a source line with a caret under one character).
    virtual void note_in_columns(const std::string& title, const std::string& text) {
        note(title, text);
    }
    // The note "O programie" with the line naming the licence. The console keeps the note's lines
    // as they were (stored transcripts hold them); the window adds the licence.
    virtual void note_about(const std::string& title, const std::string& text,
                            const std::string& licence) {
        (void)licence;
        note(title, text);
    }
    // The note of a syntax error at the 1-based `line` of the file `path`, in columns. A front end
    // with an editor may offer to open the file there.
    virtual void note_syntax_error(const std::string& title, const std::string& text,
                                   const std::string& path, std::size_t line) {
        (void)path;
        (void)line;
        note_in_columns(title, text);
    }
    virtual std::optional<std::string> choose_file_to_open(const std::string& title,
                                                           const std::vector<FileFilter>& filters,
                                                           const std::string& start) = 0;
    virtual std::optional<std::string> choose_file_to_save(const std::string& title,
                                                           const std::vector<FileFilter>& filters,
                                                           const std::string& start) = 0;
    virtual std::optional<std::string> enter_text(const std::string& title,
                                                  const std::string& prompt,
                                                  const std::string& default_text) = 0;
    // List dialog with "&Kontynuuj" and "Zakończ". Returns 0-based positions of the chosen items.
    // "Zakończ" is handled by the implementation: it asks confirm_quit() and throws QuitRequested
    // on Yes, or stays in the dialog on No.
    virtual std::vector<int> choose_from_list(const std::string& title, const std::string& prompt,
                                              const std::vector<std::string>& items,
                                              bool multiple) = 0;
    // The same list with a way out: "Anuluj" (or Escape) closes it and returns nothing. Front ends
    // without such a gesture answer as choose_from_list().
    virtual std::optional<std::vector<int>> choose_from_list_or_cancel(
        const std::string& title, const std::string& prompt, const std::vector<std::string>& items,
        bool multiple) {
        return choose_from_list(title, prompt, items, multiple);
    }
    // "Określ wartość argumentu": the text typed, or nothing when cancelled. "Zakończ" as above.
    virtual std::optional<std::string> enter_value(const std::string& title,
                                                   const std::string& name) = 0;
    // The explanation dialog "Wnioskowanie": a title field above a list of lines. "Zakończ" as
    // above.
    virtual void explain(const std::string& title, const std::vector<std::string>& lines) = 0;
    // Radio-button dialog with one "&OK" button; returns the 1-based option chosen.
    virtual int choose_option(const RadioDialog& dialog) = 0;
    // Returns the 0-based position of the chosen item, or nothing when the dialog was closed
    // without a choice or the list is empty.
    virtual std::optional<int> choose_from_dropdown(const DropDownDialog& dialog) = 0;
    virtual void show_text(const std::string& title, const std::string& text) = 0;
    // The picture window: a child window that draws the picture stretched to its size and asks
    // before it closes.
    virtual void show_picture(const std::string& title, const std::string& path) = 0;
    // The modal dialog "Przegląd grafiki" with "&Zamknij". False when the file cannot be read as
    // a picture (nothing is shown then).
    virtual bool show_picture_dialog(const std::string& path) = 0;
    // Plays a wave file to its end before returning. False when it cannot be played.
    virtual bool play_sound(const std::string& path) = 0;
    // Why the last play_sound() failed, in Polish ("brak urządzenia dźwiękowego"); empty when
    // the front end cannot tell.
    virtual std::string why_sound_failed() const { return {}; }
    // The modal dialog "Czytanie rady": "Rada eksperta:" above the advice text, "&Kontynuuj".
    virtual void show_advice(const std::string& text) = 0;
    // The modal dialog "Czytanie opisu": a one-line heading above the description, "&Kontynuuj".
    virtual void show_description(const std::string& heading, const std::string& text) = 0;
    // Opens a document (the help file) with the desktop's default handler; false when nothing
    // could open it.
    virtual bool open_document(const std::string& path) = 0;
    // Opens the edit window on a base file; the window saves it itself (see EditSession).
    virtual void open_editor(const std::string& path) = 0;
    // Opens a structured browse window: one rule, constraint or model at a time.
    virtual void show_browse(const BrowseView& view) = 0;
    // A list box under a one-line caption with "&OK", "&Cancel" and "&Help", nothing selected at
    // first. Returns the 0-based position of the item selected when "&OK" was pressed, or nothing
    // (Cancel, or OK with no item selected).
    virtual std::optional<int> select_item(const std::string& title, const std::string& caption,
                                           const std::vector<std::string>& items) = 0;

    // --- progress of a long search
    // ---------------------------------------------------------------- A search that has run for a
    // while shows its progress with a way to interrupt it. The defaults show nothing and never
    // interrupt (the console and the test doubles).
    virtual void begin_progress(const std::string& title, const std::string& text);
    // Keeps the window painted; false once the user asked to interrupt ("Przerwij").
    virtual bool progress_continues();
    virtual void end_progress();

    // --- main window -----------------------------------------------------------------------------
    virtual void set_main_title(const std::string& title) = 0;
    virtual void clear_messages() = 0;

    // --- output stream ---------------------------------------------------------------------------
    // Text goes to the message window, or to a file while redirected.
    void write(const std::string& text);
    void write_integer(std::int64_t n);
    void write_real(double x);
    void new_line();
    // Ends the current line unless the output stream stands at the start of one, so that what
    // follows begins on a line of its own.
    void begin_line();
    // Starts collecting output for `path`; nothing reaches the message window meanwhile.
    void redirect_to_file(const std::string& path);
    // Ends the redirection and writes the collected text (Windows-1250, replacing the file).
    // Returns an error message when the file could not be written, or nothing on success.
    std::optional<std::string> restore_output();
    bool redirected() const { return redirect_path_.has_value(); }
    // While set, everything written to the output stream is also handed to `echo` (a diagnosis
    // report collects what it shows this way). An empty function stops it.
    void echo_output(std::function<void(const std::string&)> echo) { echo_ = std::move(echo); }
    bool echoing() const { return static_cast<bool>(echo_); }

    // Asks "Czy na pewno chcesz zakończyć program ?"; true when the user wants to quit.
    bool confirm_quit();
    // The same question; throws QuitRequested on Yes.
    void confirm_quit_or_stay();

  protected:
    // The message window proper; text may hold line breaks.
    virtual void write_message(const std::string& text) = 0;

  private:
    std::optional<std::string> redirect_path_;
    std::string redirected_text_;
    std::function<void(const std::string&)> echo_;
    bool message_at_line_start_ = true;
};

}  // namespace xamo
