#include "regression/case_interaction.h"

#include <algorithm>
#include <utility>

namespace xamo {
namespace {

const std::string kConditionQuestion = "Warunek jest prawdą?";

// The condition a question "c?" asks about.
std::string condition_of(const std::string& question) {
    return !question.empty() && question.back() == '?' ? question.substr(0, question.size() - 1)
                                                       : question;
}

// The button that declines: "Nie" in any letter case and with any '&', else the last one.
int declining_button(const std::vector<std::string>& buttons) {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        std::string caption;
        for (char c : buttons[i]) {
            if (c != '&') caption.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c));
        }
        if (caption == "nie") return static_cast<int>(i) + 1;
    }
    return static_cast<int>(buttons.size());
}

}  // namespace

void CaseInteraction::unanswered(const std::string& question) {
    unanswered_ = question;
    throw QuitRequested();
}

int CaseInteraction::ask(const std::string& title, const std::string& text,
                         const std::vector<std::string>& buttons) {
    if (row_ != nullptr && title == kConditionQuestion) return confirm(title, text) ? 1 : 2;
    return declining_button(buttons);
}

bool CaseInteraction::confirm(const std::string& title, const std::string& text) {
    if (row_ == nullptr || title != kConditionQuestion) return false;
    const auto fact = row_->facts.find(condition_of(text));
    if (fact == row_->facts.end()) unanswered(text);
    return fact->second;
}

std::optional<std::string> CaseInteraction::choose_file_to_open(const std::string&,
                                                                const std::vector<FileFilter>&,
                                                                const std::string&) {
    if (open_.empty()) return std::nullopt;
    return std::exchange(open_, std::string());
}

// The hypothesis in the list of hypotheses; in a constraint's menu, the member the row declares
// true, or none.
std::vector<int> CaseInteraction::choose_from_list(const std::string&, const std::string&,
                                                   const std::vector<std::string>& items, bool) {
    if (row_ == nullptr) return {};
    if (row_->hypothesis) {
        const auto found = std::find(items.begin(), items.end(), *row_->hypothesis);
        if (found == items.end()) unanswered("hipoteza " + *row_->hypothesis);
        return {static_cast<int>(found - items.begin())};
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto fact = row_->facts.find(items[i]);
        if (fact != row_->facts.end() && fact->second) return {static_cast<int>(i)};
    }
    return {};
}

std::optional<std::string> CaseInteraction::enter_value(const std::string&,
                                                        const std::string& name) {
    if (row_ == nullptr) return std::nullopt;
    const auto value = row_->values.find(name);
    if (value == row_->values.end()) unanswered(name + " = ?");
    return value->second;
}

int CaseInteraction::choose_option(const RadioDialog& dialog) {
    // Facts are declared by answering the questions as they come.
    if (dialog.title == "Menu wyboru faktów") return 2;
    if (dialog.title == "Hipoteza wybór") return broad_ ? 2 : 1;
    return dialog.preselected;
}

}  // namespace xamo
