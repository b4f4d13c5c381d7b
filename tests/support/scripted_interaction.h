// A UserInteraction for tests: answers come from a queue, every dialog is recorded. Strict: a
// question asked when the queue is empty, an answer that fits no choice, and answers left unused
// when the double is destroyed each fail the running test, so a script cannot drift out of step
// with the dialogs and still pass.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "dialog/interaction.h"

namespace xamo {

class ScriptedInteraction : public UserInteraction {
  public:
    struct Event {
        std::string kind;  // "note", "ask", "confirm", "open", "save", "text", "list", ...
        std::string title;
        std::string text;                // text, prompt, argument name or path
        std::vector<std::string> items;  // buttons, list items, explanation lines, filters
    };

    ScriptedInteraction() = default;
    ScriptedInteraction(const ScriptedInteraction&) = delete;
    ScriptedInteraction& operator=(const ScriptedInteraction&) = delete;
    ~ScriptedInteraction() override;

    // Answers, consumed in order and read as the console reads them (dialog/answers.h): a button
    // number or caption (ask/confirm: "1", "Tak"), a path ("" cancels), 1-based numbers (lists,
    // "z" quits), a text, an option number ("" keeps the preselection).
    std::deque<std::string> answers;
    // Fails the test unless every answer has been used (the destructor checks too).
    void expect_all_answers_used();
    std::vector<Event> events;
    std::string output;  // everything written to the message window
    std::string main_title;
    std::vector<BrowseView> browse_views;  // every structured browse window opened
    bool documents_open = true;            // what open_document answers

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

    // Events of one kind, for assertions.
    std::vector<Event> of_kind(const std::string& kind) const;

  protected:
    void write_message(const std::string& text) override { output += text; }

  private:
    // The next answer for the dialog `what`; fails the test when there is none.
    std::optional<std::string> next_answer(const std::string& what);
    int ask_buttons(const std::string& title, const std::vector<std::string>& buttons);
    std::optional<std::string> choose_file(const std::string& kind, const std::string& title,
                                           const std::vector<FileFilter>& filters,
                                           const std::string& start);
};

}  // namespace xamo
