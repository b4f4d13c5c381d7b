// The console front end's dialogs: each dialog is printed as a block (a marker line "[kind]", the
// title and text lines verbatim), questions read one line of standard input.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/interaction.h"

namespace xamo {

class ConsoleInteraction : public UserInteraction {
  public:
    // In batch mode every line read is echoed after the prompt, so a transcript shows the answers.
    ConsoleInteraction(std::istream& in, std::ostream& out, bool batch);
    ~ConsoleInteraction() override;
    ConsoleInteraction(const ConsoleInteraction&) = delete;
    ConsoleInteraction& operator=(const ConsoleInteraction&) = delete;

    void note(const std::string& title, const std::string& text) override;
    int ask(const std::string& title, const std::string& text,
            const std::vector<std::string>& buttons) override;
    bool confirm(const std::string& title, const std::string& text) override;
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
    void set_main_title(const std::string& title) override;
    void clear_messages() override;

    // One line of input for the command loop, after the given prompt; nothing at end of input.
    std::optional<std::string> read_command(const std::string& prompt);
    // A line of the console's own ("! ..."), not part of the message window.
    void say(const std::string& line);
    // Writes what is gathered and flushes the stream.
    void flush();
    // The question a script named (in a "#? " comment) right before the line read last.
    const std::optional<std::string>& scripted_question() const { return scripted_question_; }

  protected:
    void write_message(const std::string& text) override;

  private:
    void put(std::string_view text);
    void hand_over_when_full();
    void hand_over();
    static constexpr std::size_t kOutputBlock = 64 * 1024;
    void begin_block(const std::string& kind);
    void line(const std::string& text);  // text may hold line breaks: one output line each
    void text_lines(const std::string& text);
    std::optional<std::string> read_line(const std::string& prompt);
    bool read_bounded_line(std::string& text);
    // Longer answer lines are refused: a path or a number is never near this long.
    static constexpr std::size_t kMaxLine = 65536;
    std::optional<std::string> read_answer();
    // Both list dialogs; with `cancellable`, "anuluj" and the end of input return nothing.
    std::optional<std::vector<int>> run_list(const std::string& title, const std::string& prompt,
                                             const std::vector<std::string>& items, bool multiple,
                                             bool cancellable);
    std::optional<std::string> choose_file(const std::string& kind, const std::string& title,
                                           const std::vector<FileFilter>& filters,
                                           const std::string& start);

    std::istream& in_;
    std::ostream& out_;
    bool batch_;
    bool at_line_start_ = true;
    std::string pending_;  // written, not yet handed to the stream
    std::optional<std::string> scripted_question_;
};

}  // namespace xamo
