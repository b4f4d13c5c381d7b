// The interaction of a case row: declared facts and values come from the row, every offer
// (labels, summary, report, media) is declined, and a question the row does not answer ends the
// run, remembering the question.
#pragma once

#include <optional>
#include <string>

#include "dialog/silent_interaction.h"
#include "regression/case_table.h"

namespace xamo {

class CaseInteraction : public SilentInteraction {
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
    std::vector<int> choose_from_list(const std::string& title, const std::string& prompt,
                                      const std::vector<std::string>& items,
                                      bool multiple) override;
    std::optional<std::string> enter_value(const std::string& title,
                                           const std::string& name) override;
    int choose_option(const RadioDialog& dialog) override;

  private:
    [[noreturn]] void unanswered(const std::string& question);

    std::string open_;
    const CaseRow* row_ = nullptr;
    std::optional<std::string> unanswered_;
    bool broad_ = false;
};

}  // namespace xamo
