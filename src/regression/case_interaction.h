// The interaction of a case row: declared facts and values come from the row, every offer
// (labels, summary, report, media) is declined, and a question the row does not answer ends the
// run, remembering the question.
#pragma once

#include <optional>
#include <string>

#include "dialog/interaction.h"
#include "regression/case_table.h"

namespace xamo {

class CaseInteraction : public UserInteraction {
  public:
    // The file the next open dialog chooses (while loading the base).
    void open_next(std::string path) { open_ = std::move(path); }
    // The row that answers the questions; nothing while loading.
    void answer_from(const CaseRow* row) {
        row_ = row;
        if (row != nullptr) unanswered_.reset();
    }
    // Whether the row's hypothesis is offered among the broad ones (it is a condition of some
    // rule) rather than the narrow ones.
    void set_broad_hypothesis(bool broad) { broad_ = broad; }
    // The question the last row did not answer.
    const std::optional<std::string>& unanswered() const { return unanswered_; }

    void note(const std::string&, const std::string&) override {}
    int ask(const std::string& title, const std::string& text,
            const std::vector<std::string>& buttons) override;
    bool confirm(const std::string& title, const std::string& text) override;
    std::optional<std::string> choose_file_to_open(const std::string&,
                                                   const std::vector<FileFilter>&,
                                                   const std::string&) override;
    std::optional<std::string> choose_file_to_save(const std::string&,
                                                   const std::vector<FileFilter>&,
                                                   const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> enter_text(const std::string&, const std::string&,
                                          const std::string&) override {
        return std::nullopt;
    }
    std::vector<int> choose_from_list(const std::string& title, const std::string& prompt,
                                      const std::vector<std::string>& items,
                                      bool multiple) override;
    std::optional<std::string> enter_value(const std::string& title,
                                           const std::string& name) override;
    void explain(const std::string&, const std::vector<std::string>&) override {}
    int choose_option(const RadioDialog& dialog) override;
    std::optional<int> choose_from_dropdown(const DropDownDialog&) override { return std::nullopt; }
    void show_text(const std::string&, const std::string&) override {}
    void show_picture(const std::string&, const std::string&) override {}
    bool show_picture_dialog(const std::string&) override { return false; }
    bool play_sound(const std::string&) override { return false; }
    void show_advice(const std::string&) override {}
    void show_description(const std::string&, const std::string&) override {}
    bool open_document(const std::string&) override { return false; }
    void open_editor(const std::string&) override {}
    void show_browse(const BrowseView&) override {}
    std::optional<int> select_item(const std::string&, const std::string&,
                                   const std::vector<std::string>&) override {
        return std::nullopt;
    }
    void set_main_title(const std::string&) override {}
    void clear_messages() override {}

  protected:
    void write_message(const std::string&) override {}

  private:
    [[noreturn]] void unanswered(const std::string& question);

    std::string open_;
    const CaseRow* row_ = nullptr;
    std::optional<std::string> unanswered_;
    bool broad_ = false;
};

}  // namespace xamo
