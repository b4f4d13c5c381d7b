// The case-table check the front ends hand to the Application for its menu command.
#pragma once

#include <string>

namespace xamo {

class FactStore;

// Runs the CSV table at `table` against the bases loaded in `store` (their files, loaded anew
// per worker): true with the results and coverage as text, false with a Polish note.
bool check_loaded_base(const std::string& table, const FactStore& store, std::string& text);

}  // namespace xamo
