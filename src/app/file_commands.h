// The create and delete steps shared by the commands on advice, picture and sound files,
// descriptions, reports and summaries.
#pragma once

#include <string>
#include <vector>

#include "dialog/interaction.h"

namespace xamo {

struct CreateFileTexts {
    std::string save_title;
    std::vector<FileFilter> filters;
    std::string mask;
    std::string title;          // of the note and of the question
    std::string created_words;  // "Nowy plik opisu " + name + " został utworzony."
    std::string edit_words;     // "...\nnowego pliku opisu " + name + " ?"
};

// Asks for a name, creates the file empty, and opens the edit window on "&TAK".
void create_empty_file(UserInteraction& ui, const CreateFileTexts& texts);

struct DeleteFileTexts {
    std::string open_title;
    std::vector<FileFilter> filters;
    std::string mask;
    std::string ask_title;
    std::string question;       // + name + " ?"
    std::string deleted_words;  // + name + " został usunięty."
};

// Asks for a file and whether to delete it; "Tak" deletes it. Any other answer changes nothing.
void delete_chosen_file(UserInteraction& ui, const DeleteFileTexts& texts);

}  // namespace xamo
