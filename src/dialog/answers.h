// Reading a typed answer to a dialog. The console front end and the scripted test double share
// these, so a script that works in a test means the same at the terminal.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace xamo::answers {

std::string trim(const std::string& text);

// ask/confirm: a 1-based button number, or a caption without '&' in any ASCII letter case; an
// empty answer chooses the last button. Nothing when the answer names no button.
std::optional<int> button(const std::string& answer, const std::vector<std::string>& buttons);

struct ListAnswer {
    enum class Kind { Chosen, Quit, Cancel, Invalid } kind = Kind::Invalid;
    std::vector<int> chosen;  // 0-based positions
};
// List dialogs: 1-based numbers separated by blanks or commas; "z" is "Zakończ", "cancel" or
// "anuluj" is "Anuluj" (where the list has one). An empty answer selects nothing in a
// multiple-choice list and keeps the first item in a single-choice one.
ListAnswer list(const std::string& answer, int count, bool multiple);

// Selection dialogs with "&OK" and "&Cancel": a 1-based number chooses that item (OK); an empty
// answer, "cancel" or "anuluj" cancels.
struct SelectionAnswer {
    bool valid = false;
    std::optional<int> chosen;  // 0-based; nothing when cancelled
};
SelectionAnswer selection(const std::string& answer, int count);

// Radio dialogs: a 1-based number; an empty answer keeps `preselected`.
std::optional<int> option(const std::string& answer, int count, int preselected);

}  // namespace xamo::answers
