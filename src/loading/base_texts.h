// The words of the load, create and delete commands of each base kind.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dialog/interaction.h"
#include "kb/facts.h"
#include "loading/loading.h"

namespace xamo {

struct BaseTexts {
    Section section;
    std::optional<Kind> name_fact;  // the file name without its directory
    std::optional<Kind> path_fact;  // the full path
    bool blank_lines_after_read;    // two line breaks once the file is read

    // loading
    std::string open_title;
    std::string mask;
    FileFilter filter;
    std::string loaded_output;  // + file name
    std::string loaded_note_title;
    std::string loaded_note_text;  // + file name
    std::vector<std::string> syntax_hint_lines;
    std::string syntax_note_title;
    std::string syntax_note_text;
    std::string read_error_first;  // + "Baza zawiera puste linie!"
    std::vector<std::string> read_error_lines;
    std::string read_error_note_title;
    std::string read_error_note_text;

    // creating
    std::string save_title;
    std::string save_mask;
    std::string words;  // "reguł", as in "baza reguł"
    std::string create_note_title;
    std::string create_ask_title;
    std::string media_hint;  // shown before editing a new media base

    // deleting
    std::string delete_title;
    std::string delete_mask;
    FileFilter delete_filter;
    std::string delete_ask_title;
    std::string delete_question;  // + file name + " ?"
    std::string deleted_words;    // + file name + " została usunięta."
};

const BaseTexts& base_texts(BaseKind kind);

}  // namespace xamo
