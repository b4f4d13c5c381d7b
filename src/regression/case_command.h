// The case-table check the front ends hand to the Application for its menu command.
#pragma once

#include <string>

namespace xamo {

class FactStore;
struct CaseTableOrigin;

// Runs the table (a CSV file or a table of an open data source) against the bases loaded in `store`
// (their files, loaded anew per worker): true with the results and coverage as text, false with a
// Polish note.
bool check_loaded_base(const CaseTableOrigin& table, const FactStore& store, std::string& text);

}  // namespace xamo
