// The help command: the help file "xamo_RD.chm" of the current directory when there is one, else
// the user guide installed with the program (docs/guide/index.html of the sources). When neither
// can be opened a note says why.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace xamo {

class UserInteraction;

inline constexpr const char* kHelpFile = "xamo_RD.chm";

// Where the guide's directory is looked for, in order: "guide" beside the executable, the data
// directory of an installation relative to the executable, the configured installation, and the
// source tree the program was built from.
std::vector<std::string> default_guide_directories();

// The guide's index.html in the first of `directories` that holds one.
std::optional<std::string> find_user_guide(const std::vector<std::string>& directories);

// Where the licence's text is looked for, in order: the data directory of an installation
// relative to the executable, the configured installation, and the source tree.
std::vector<std::string> default_licence_files();
// "Licencja: MIT", naming the first of `files` that exists as where its text is.
std::string licence_line(const std::vector<std::string>& files);

// Opens the help file or the guide through `ui`.
void show_help(UserInteraction& ui, const std::vector<std::string>& guide_directories);

}  // namespace xamo
