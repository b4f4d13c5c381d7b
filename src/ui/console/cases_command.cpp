#include "ui/console/cases_command.h"

#include <algorithm>
#include <ostream>
#include <thread>

#include "kb/files.h"
#include "regression/case_report.h"
#include "regression/case_run.h"
#include "regression/case_source.h"
#include "ui/odbc/odbc_access.h"

namespace xamo {
namespace {

constexpr int kUnreadable = 3;

using Records = std::vector<std::vector<std::string>>;

std::variant<Records, std::string> table_records(const CasesOptions& options,
                                                 DataSourceAccess& sources) {
    if (options.source) return case_records_from_source(sources, *options.source, options.table);
    std::string bytes;
    if (const FileResult read = read_file_bytes(options.table, bytes); !read.ok)
        return "Nie można odczytać tabeli przypadków " + options.table + ": " + read.error;
    return csv_records(bytes);
}

}  // namespace

int run_cases(const CasesOptions& options, DataSourceAccess& sources, std::ostream& out,
              std::ostream& err) {
    const auto records = table_records(options, sources);
    if (const auto* note = std::get_if<std::string>(&records)) {
        err << *note << "\n";
        return kUnreadable;
    }
    // Long tables show how far they are on the error stream, which CI logs keep apart.
    const auto progress = [&err](std::size_t done, std::size_t total) {
        if (total < 1000) return;
        err << "\rPrzypadki: " << done << " z " << total << (done == total ? "\n" : "")
            << std::flush;
    };
    const auto result = run_case_table(base_files_in(options.directory), std::get<Records>(records),
                                       std::max(1u, std::thread::hardware_concurrency()), progress);
    if (const auto* note = std::get_if<std::string>(&result)) {
        err << *note << "\n";
        return kUnreadable;
    }
    const auto& report = std::get<CaseReport>(result);
    out << (options.json ? case_report_json(report) : case_report_text(report));
    return report.passed() == report.outcomes.size() ? 0 : 1;
}

int run_cases(const CasesOptions& options, std::ostream& out, std::ostream& err) {
    OdbcAccess sources;
    return run_cases(options, sources, out, err);
}

}  // namespace xamo
