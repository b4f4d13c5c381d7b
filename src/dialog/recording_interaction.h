// An interaction that passes every dialog on to the front end's and keeps each answer as the line
// the console would have read for it, so that a consultation can be stored as a console script
// and replayed with `xamo_rd --console --batch`.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dialog/interaction.h"

namespace xamo {

class RecordingInteraction : public UserInteraction {
  public:
    explicit RecordingInteraction(UserInteraction& inner) : inner_(inner) {}

    // The lines read so far, commands and answers, in order; each answer follows a comment line
    // "#? " naming its question, so a replay can tell when a changed dialog asks something else.
    const std::vector<std::string>& lines() const { return lines_; }
    // A line that comes from the command loop rather than a dialog (a command id, "q").
    void record(std::string line) { lines_.push_back(std::move(line)); }
    // Paths below `directory` are named relative to it in the recorded questions.
    void set_home(std::string directory) { home_ = std::move(directory); }
    // Called with each question (as recorded) once it has been answered, before it is recorded.
    void set_question_check(std::function<void(const std::string&)> check) {
        check_ = std::move(check);
    }
    // The next file dialog to open a file is answered with `path` without being shown (a file
    // dropped on the window, a recent base chosen), and recorded as if typed.
    void answer_next_file_dialog(std::string path) { next_file_ = std::move(path); }
    void forget_file_answer() { next_file_.reset(); }

    void note(const std::string& title, const std::string& text) override;
    int ask(const std::string& title, const std::string& text,
            const std::vector<std::string>& buttons) override;
    std::optional<int> ask_or_cancel(const std::string& title, const std::string& text,
                                     const std::vector<std::string>& buttons) override;
    bool confirm(const std::string& title, const std::string& text) override;
    bool confirm_deletion(const std::string& title, const std::string& text) override;
    void note_in_columns(const std::string& title, const std::string& text) override;
    void note_about(const std::string& title, const std::string& text,
                    const std::string& licence) override;
    void note_syntax_error(const std::string& title, const std::string& text,
                           const std::string& path, std::size_t line) override;
    std::string why_sound_failed() const override { return inner_.why_sound_failed(); }
    std::optional<std::string> choose_file_to_open(const std::string& title,
                                                   const std::vector<FileFilter>& filters,
                                                   const std::string& start) override;
    std::optional<std::string> choose_file_to_save(const std::string& title,
                                                   const std::vector<FileFilter>& filters,
                                                   const std::string& start) override;
    std::optional<std::string> enter_text(const std::string& title, const std::string& prompt,
                                          const std::string& default_text) override;
    std::vector<int> choose_from_list(const std::string& title, const std::string& prompt,
                                      const std::vector<std::string>& items,
                                      bool multiple) override;
    std::optional<std::vector<int>> choose_from_list_or_cancel(
        const std::string& title, const std::string& prompt, const std::vector<std::string>& items,
        bool multiple) override;
    std::optional<std::string> enter_value(const std::string& title,
                                           const std::string& name) override;
    void explain(const std::string& title, const std::vector<std::string>& lines) override;
    int choose_option(const RadioDialog& dialog) override;
    std::optional<int> choose_from_dropdown(const DropDownDialog& dialog) override;
    void show_text(const std::string& title, const std::string& text) override;
    void show_picture(const std::string& title, const std::string& path) override;
    bool show_picture_dialog(const std::string& path) override;
    bool play_sound(const std::string& path) override;
    void show_advice(const std::string& text) override;
    void show_description(const std::string& heading, const std::string& text) override;
    bool open_document(const std::string& path) override;
    void open_editor(const std::string& path) override;
    void show_browse(const BrowseView& view) override;
    std::optional<int> select_item(const std::string& title, const std::string& caption,
                                   const std::vector<std::string>& items) override;
    void begin_progress(const std::string& title, const std::string& text) override;
    bool progress_continues() override;
    void end_progress() override;
    void set_main_title(const std::string& title) override;
    void clear_messages() override;

  protected:
    void write_message(const std::string& text) override { inner_.write(text); }

  private:
    std::optional<std::string> recorded_path(const std::string& title,
                                             const std::optional<std::string>& path);
    void record_answer(const std::string& title, const std::string& text, std::string line);

    UserInteraction& inner_;
    std::optional<std::string> next_file_;
    std::vector<std::string> lines_;
    std::string home_;
    std::function<void(const std::string&)> check_;
};

// The comment line that names a question in a stored script.
inline constexpr const char* kQuestionComment = "#? ";

// A question on one line: its title, then the last line of its text (what it asks).
std::string question_label(const std::string& title, const std::string& text);

// `text` with every path below `directory` written relative to it ("." for the directory
// itself), so that a transcript or a question reads the same in a copy of the directory.
std::string relative_paths(const std::string& text, const std::string& directory);

// The path as a script run in the current directory should give it: relative when it lies
// below that directory, absolute otherwise.
std::string script_path(const std::string& path);

}  // namespace xamo
