#include "regression/case_command.h"

#include <algorithm>
#include <filesystem>
#include <thread>

#include "kb/facts.h"
#include "kb/files.h"
#include "regression/case_report.h"
#include "regression/case_run.h"

namespace xamo {
namespace {

std::string loaded_path(const FactStore& store, Kind kind) {
    const auto path = store.text(kind);
    if (!path || path->empty()) return {};
    std::error_code ec;
    return std::filesystem::absolute(std::filesystem::path(*path), ec).string();
}

}  // namespace

bool check_loaded_base(const std::string& table, const FactStore& store, std::string& text) {
    std::string bytes;
    if (const FileResult read = read_file_bytes(table, bytes); !read.ok) {
        text = read.error;
        return false;
    }
    const CaseBaseFiles files{loaded_path(store, Kind::nazwa_re_pelna),
                              loaded_path(store, Kind::nazwa_mo_pelna),
                              loaded_path(store, Kind::nazwa_og_pelna)};
    const auto result = run_case_table(files, csv_records(bytes),
                                       std::max(1u, std::thread::hardware_concurrency()));
    if (const auto* note = std::get_if<std::string>(&result)) {
        text = *note;
        return false;
    }
    text = case_report_text(std::get<CaseReport>(result));
    return true;
}

}  // namespace xamo
