// Rows per second of a case table over the example base, against a plain loop of replays of the
// same consultation (each replay loads the base and runs one consultation, as `--replay` does).
//
//     xamo_cases_bench EXAMPLES_DIR [ROWS] [REPLAYS]
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <thread>

#include "app/application.h"
#include "app/consultation_commands.h"
#include "regression/case_interaction.h"
#include "regression/case_run.h"
#include "ui/console/console_app.h"

namespace {

using namespace xamo;
using Clock = std::chrono::steady_clock;

// Three consultations that end without an open question: a heat pump, a pellet boiler, and a
// gas boiler expected but refused by the base.
const std::vector<std::vector<std::string>> kKinds = {
    {"nie", "", "tak", "tak", "tak", "nie", "nie", "120", "pompa_ciepła", "kocioł_gazowy"},
    {"nie", "", "tak", "nie", "nie", "tak", "nie", "250", "kocioł_na_pellet", ""},
    {"nie", "", "tak", "tak", "nie", "nie", "nie", "100", "kocioł_gazowy", "pompa_ciepła"},
};
const std::vector<std::string> kHeader = {
    "mieszkanie_w_bloku", "sieć_ciepłownicza", "dom_jednorodzinny",         "sieć_gazowa",
    "dobra_izolacja",     "miejsce_na_opał",   "instalacja_fotowoltaiczna", "powierzchnia",
    "oczekiwane",         "wykluczone"};

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The console script of the pellet consultation, as command 10161 would store it.
std::string recorded_script(const CaseBaseFiles& files) {
    CaseInteraction ui;
    Application app(ui);
    app.start();
    app.close_introduction();
    for (const auto& [command, file] :
         {std::pair{10058, files.rules}, std::pair{10071, files.models},
          std::pair{10087, files.constraints}}) {
        ui.open_next(file);
        app.run_command(command);
    }
    CaseRow row;
    for (std::size_t c = 0; c < 7; ++c) {
        if (!kKinds[1][c].empty()) row.facts[kHeader[c]] = kKinds[1][c] == "tak";
    }
    row.values["powierzchnia"] = kKinds[1][7];
    ui.answer_from(&row);
    app.run_command(10148);
    return consultation_script(app.consultation_lines());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: xamo_cases_bench EXAMPLES_DIR [ROWS] [REPLAYS]\n";
        return 2;
    }
    const std::string directory = std::filesystem::absolute(argv[1]).string();
    const std::size_t rows = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 10000;
    const std::size_t replays = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 200;
    const CaseBaseFiles files = base_files_in(directory);

    std::vector<std::vector<std::string>> records = {kHeader};
    for (std::size_t i = 0; i < rows; ++i) records.push_back(kKinds[i % kKinds.size()]);
    const unsigned workers = std::max(1u, std::thread::hardware_concurrency());
    auto start = Clock::now();
    const auto result = run_case_table(files, records, workers);
    const double table_seconds = seconds_since(start);
    if (const auto* note = std::get_if<std::string>(&result)) {
        std::cerr << *note << "\n";
        return 1;
    }
    const auto& report = std::get<CaseReport>(result);
    std::cout << "case table: " << rows << " rows on " << workers << " workers in " << table_seconds
              << " s, " << static_cast<double>(rows) / table_seconds << " rows/s (passed "
              << report.passed() << ")\n";

    // Recorded where it replays, so that its paths are the ones a stored script would hold.
    std::filesystem::current_path(directory);
    const std::string script = recorded_script(files);
    start = Clock::now();
    std::size_t established = 0;
    for (std::size_t i = 0; i < replays; ++i) {
        // A load moves into the base's folder; every replay starts where the script was stored.
        std::filesystem::current_path(directory);
        std::istringstream in(script);
        std::ostringstream out;
        run_console(in, out, true);
        established += out.str().find("kocioł_na_pellet") != std::string::npos ? 1 : 0;
    }
    const double replay_seconds = seconds_since(start);
    std::cout << "plain loop of replays: " << replays << " in " << replay_seconds << " s, "
              << static_cast<double>(replays) / replay_seconds << " rows/s (concluded "
              << established << ")\n";
    return 0;
}
