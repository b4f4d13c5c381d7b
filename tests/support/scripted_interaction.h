// A UserInteraction for tests: answers come from a queue, every dialog is recorded.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "dialog/interaction.h"

namespace xamo {

class ScriptedInteraction : public UserInteraction {
public:
    struct Event {
        std::string kind;   // "note", "ask", "confirm", "open", "save", "text", "list", ...
        std::string title;
        std::string text;   // text, prompt, argument name or path
        std::vector<std::string> items;  // buttons, list items, explanation lines, filters
    };

    // Answers, consumed in order: a button number or caption (ask/confirm: "1", "Tak"), a path
    // ("" cancels), space-separated 1-based numbers (lists, "z" quits), a text, an option number.
    // An empty queue answers with the last button, cancels, or keeps the preselection.
    std::deque<std::string> answers;
    std::vector<Event> events;
    std::string output;      // everything written to the message window
    std::string main_title;
    std::vector<BrowseView> browse_views;  // every structured browse window opened

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
    void show_text(const std::string& title, const std::string& text) override;
    void show_picture(const std::string& title, const std::string& path) override;
    void play_sound(const std::string& path) override;
    void open_document(const std::string& path) override;
    void open_editor(const std::string& path) override;
    void show_browse(const BrowseView& view) override;
    void set_main_title(const std::string& title) override;
    void clear_messages() override;

    // Events of one kind, for assertions.
    std::vector<Event> of_kind(const std::string& kind) const;

protected:
    void write_message(const std::string& text) override { output += text; }

private:
    std::optional<std::string> next_answer();
    std::optional<std::string> choose_file(const std::string& kind, const std::string& title,
                                           const std::vector<FileFilter>& filters,
                                           const std::string& start);
};

}  // namespace xamo
