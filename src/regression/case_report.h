// The results of a case table for a person (text) and for a program (JSON).
#pragma once

#include <string>

#include "regression/case_run.h"

namespace xamo {

std::string case_report_text(const CaseReport& report);
std::string case_report_json(const CaseReport& report);

}  // namespace xamo
