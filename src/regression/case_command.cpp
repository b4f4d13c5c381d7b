#include "regression/case_command.h"

#include <algorithm>
#include <filesystem>
#include <thread>

#include "app/application.h"
#include "kb/facts.h"
#include "kb/files.h"
#include "regression/case_report.h"
#include "regression/case_run.h"
#include "regression/case_source.h"

namespace xamo {
namespace {

std::string loaded_path(const FactStore& store, Kind kind) {
    const auto path = store.text(kind);
    if (!path || path->empty()) return {};
    std::error_code ec;
    return std::filesystem::absolute(std::filesystem::path(*path), ec).string();
}

// The records of the table, or a note.
std::variant<std::vector<std::vector<std::string>>, std::string> records_of(
    const CaseTableOrigin& table) {
    if (table.connection != nullptr)
        return case_records_from_connection(*table.connection, table.source, table.table);
    std::string bytes;
    if (const FileResult read = read_file_bytes(table.path, bytes); !read.ok) return read.error;
    return csv_records(bytes);
}

}  // namespace

bool check_loaded_base(const CaseTableOrigin& table, const FactStore& store, std::string& text) {
    const auto records = records_of(table);
    if (const auto* note = std::get_if<std::string>(&records)) {
        text = *note;
        return false;
    }
    const CaseBaseFiles files{loaded_path(store, Kind::nazwa_re_pelna),
                              loaded_path(store, Kind::nazwa_mo_pelna),
                              loaded_path(store, Kind::nazwa_og_pelna)};
    const auto result = run_case_table(files, std::get<0>(records),
                                       std::max(1u, std::thread::hardware_concurrency()));
    if (const auto* note = std::get_if<std::string>(&result)) {
        text = *note;
        return false;
    }
    text = case_report_text(std::get<CaseReport>(result));
    return true;
}

}  // namespace xamo
