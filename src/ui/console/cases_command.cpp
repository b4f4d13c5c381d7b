#include "ui/console/cases_command.h"

#include <algorithm>
#include <ostream>
#include <thread>

#include "kb/files.h"
#include "regression/case_report.h"
#include "regression/case_run.h"

namespace xamo {

int run_cases(const std::string& table, const std::string& directory, bool json, std::ostream& out,
              std::ostream& err) {
    std::string bytes;
    if (const FileResult read = read_file_bytes(table, bytes); !read.ok) {
        err << "Nie można odczytać tabeli przypadków " << table << ": " << read.error << "\n";
        return 3;
    }
    const auto progress = [&err](std::size_t done, std::size_t total) {
        if (total >= 1000) err << "\rPrzypadki: " << done << " z " << total << std::flush;
        if (total >= 1000 && done == total) err << "\n";
    };
    const auto result = run_case_table(directory, csv_records(bytes),
                                       std::max(1u, std::thread::hardware_concurrency()), progress);
    if (const auto* note = std::get_if<std::string>(&result)) {
        err << *note << "\n";
        return 3;
    }
    const auto& report = std::get<CaseReport>(result);
    out << (json ? case_report_json(report) : case_report_text(report));
    return report.passed() == report.outcomes.size() ? 0 : 1;
}

}  // namespace xamo
