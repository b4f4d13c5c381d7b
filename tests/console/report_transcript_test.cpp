#include <gtest/gtest.h>

#include <sstream>

#include "dialog/report.h"
#include "inference/summary.h"
#include "support/golden.h"
#include "support/sample_run.h"
#include "support/temp_dir.h"
#include "ui/console/console_interaction.h"

namespace xamo {
namespace {

using testing::sample_run;

// The console transcript of both offers, as a user at the terminal sees them.
TEST(golden, report_and_summary_offers) {
    testing::TempDir dir;
    // Summary: yes, then the file dialog cancelled; report: yes, cancelled, yes, a file.
    std::istringstream in("tak\n\ntak\n\ntak\n" + dir.file("bieg.RPT") + "\n");
    std::ostringstream out;
    ConsoleInteraction ui(in, out, true);
    FactStore store;
    Report report(store, ui);
    const auto memory = sample_run(store, "duża");
    report.kasowanie_tekst_raportu();
    report.pisz("Wnioskowanie zakończone.");
    report.piszcr();
    podsumowanie(store, ui, memory);
    report.raport();
    ui.flush();
    expect_golden("report_and_summary.transcript", out.str(), dir.path().string());
}

}  // namespace
}  // namespace xamo
