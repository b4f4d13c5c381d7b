// Running a table of cases against a knowledge base: one consultation per row without dialogs,
// the rows in parallel, each worker with a base of its own, and the rule coverage of all rows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "regression/case_table.h"

namespace xamo {

struct CaseOutcome {
    enum class Status { Pass, Fail, Unanswered };
    std::size_t line = 0;
    Status status = Status::Pass;
    std::vector<std::string> missing;   // expected but not established
    std::vector<std::string> unwanted;  // excluded but established
    std::string question;               // the question the row does not answer
    std::vector<std::int32_t> rules;    // applied in this row
    std::vector<std::int32_t> models;
    std::vector<std::string> established;  // conclusions of the base established
};

struct CaseCoverage {
    std::vector<std::int32_t> rules_fired, rules_never;
    std::vector<std::int32_t> models_fired, models_never;
    std::vector<std::string> conclusions_never;  // no row established them
};

struct CaseReport {
    std::vector<CaseOutcome> outcomes;
    CaseCoverage coverage;
    std::size_t passed() const;
};

// Reports rows done so far out of all; called from the thread that started the run.
using CaseProgress = std::function<void(std::size_t done, std::size_t total)>;

// The base files a table runs against; models and constraints may be missing (empty).
struct CaseBaseFiles {
    std::string rules, models, constraints;
};

// The RE, MO and OG files of `directory`, or of its BAZY folder (the first in name order).
CaseBaseFiles base_files_in(const std::string& directory);

// Loads the base once per worker, checks the table against it and runs every row. A Polish
// note when the base cannot be loaded or the table is bad.
std::variant<CaseReport, std::string> run_case_table(
    const CaseBaseFiles& files, const std::vector<std::vector<std::string>>& records,
    unsigned workers, const CaseProgress& progress = {});

}  // namespace xamo
