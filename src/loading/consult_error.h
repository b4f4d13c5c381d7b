// The syntax-error message of a base-file load.
#pragma once

#include <string>

#include "kb/base_file.h"

namespace xamo {

class UserInteraction;

// Shows a syntax error with its caret line in the output stream and in a note. Returns false,
// showing nothing, when the error is not a syntax error or its position is out of 1..29999.
bool show_consult_error(UserInteraction& ui, const ReadError& error, const std::string& full_path);

}  // namespace xamo
