#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "inference/report.h"
#include "kb/base_file.h"
#include "kb/codec.h"
#include "support/golden.h"
#include "support/temp_dir.h"
#include "ui/console/console_interaction.h"
#include "ui/scripted_interaction.h"

namespace xamo {
namespace {

const std::string kTricky = "linia 1\nz \"cudzysłowem\" i \\ ukośnikiem\nc:\\dane";

TEST(ReportText, CollectsWhatIsWrittenAndStartsEmpty) {
    FactStore store;
    ScriptedInteraction ui;
    Report report(store, ui);
    EXPECT_FALSE(report.lista_dla_raportu({"x"}));  // no report text yet
    report.kasowanie_tekst_raportu();
    report.pisz("Wynik: ");
    report.piszint(-7);
    report.piszcr();
    report.pisz_tuto_real(2.5);
    EXPECT_TRUE(report.lista_dla_raportu({" tylko", " w raporcie"}));
    EXPECT_TRUE(report.lista_dla_raportu({}));
    EXPECT_EQ(*report.text(), "Wynik: -7\n2.5 tylko w raporcie");
    EXPECT_EQ(ui.output, "Wynik: -7\n2.5");
    report.kasowanie_tekst_raportu();
    EXPECT_EQ(*report.text(), "");
    EXPECT_EQ(store.all(Kind::tekst_raportu).size(), 1u);
}

TEST(ReportFile, StoredReportReadsBackUnchanged) {
    testing::TempDir dir;
    FactStore store;
    ScriptedInteraction ui;
    Report report(store, ui);
    report.kasowanie_tekst_raportu();
    report.pisz(kTricky);
    // "Nie" first; then "Tak" with a cancelled dialog asks again; then a file.
    ui.answers = {"Nie"};
    report.raport();
    EXPECT_TRUE(ui.of_kind("save").empty());
    ui.answers = {"Tak", "", "Tak", dir.file("wynik.RPT")};
    report.raport();
    EXPECT_EQ(ui.of_kind("ask").size(), 3u);
    const std::string bytes = dir.read("wynik.RPT");
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 1);  // one line
    FactStore back;
    ASSERT_FALSE(read_section(back, Section::Report, dir.file("wynik.RPT")));
    ASSERT_EQ(back.all(Kind::tekst_raportu).size(), 1u);
    EXPECT_EQ(back.all(Kind::tekst_raportu)[0].str(0), kTricky);
    EXPECT_EQ(ui.events.back().kind, "note");
    EXPECT_EQ(ui.events.back().text, "Raport wynik.RPT został zapamiętany.");
}

TEST(ReportFile, UnwritableReportIsReportedAndAskedAgain) {
    testing::TempDir dir;
    FactStore store;
    ScriptedInteraction ui;
    Report report(store, ui);
    report.kasowanie_tekst_raportu();
    report.pisz("bałwan ☃");
    ui.answers = {"Tak", dir.file("r.RPT"), "Nie"};
    report.raport();
    const auto notes = ui.of_kind("note");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].title, "Błąd!");
    EXPECT_NE(notes[0].text.find("☃"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("r.RPT")));
    EXPECT_EQ(ui.of_kind("ask").size(), 2u);
}

InferenceMemory sample_run(FactStore& store, const std::string& detail) {
    InferenceMemory memory;
    memory.etykieta = {"pacjent 1", "wizyta domowa"};
    memory.szczegolowosc = detail;
    store.add(make_rule(1, "grypa", {"gorączka"}, 1));
    store.add(make_rule(0, "gorączka", {"bez warunku"}, 1));
    store.add(make_rule(0, "nkaszel", {"bez warunku"}, 1));
    for (const auto& [n, c] : {std::pair<int, const char*>{0, "bez warunku"}, {0, "gorączka"}, {1, "grypa"}, {2, "koniec"}}) {
        memory.rbd.add(n, c);
    }
    memory.rbd_wstecz = {"nkoniec", "zapalenie"};
    memory.zmienna_ustalona.set("temperatura", 38.5);
    memory.zmienna_ustalona.set("wiek", 42);
    return memory;
}

TEST(Summary, DetailLevelDecidesWhetherConclusionsAreListed) {
    testing::TempDir dir;
    for (const std::string detail : {"mała", "duża"}) {
        FactStore store;
        ScriptedInteraction ui;
        Report report(store, ui);
        const auto memory = sample_run(store, detail);
        ui.answers = {"TAK", dir.file("pods.txt")};
        EXPECT_TRUE(report.podsumowanie(memory));
        // Declared facts are in working memory too, under number 0.
        const std::string conclusions =
            detail == "duża" ? "    gorączka\r\n    grypa\r\n    zapalenie\r\n" : "";
        EXPECT_EQ(dir.read("pods.txt"),
                  *utf8_to_cp1250("Etykiety wnioskowania: \r\n    pacjent 1\r\n    wizyta domowa\r\n"
                                  "\r\nPodsumowanie wnioskowania: fakty\r\n    gorączka\r\n\r\n"
                                  "    nkaszel\r\n\r\n" + conclusions +
                                  "\r\nPodsumowanie wnioskowania: wartości argumentów\r\n"
                                  "    temperatura = 38.5\r\n    wiek = 42\r\n"));
        EXPECT_EQ(ui.output,
                  "\n\n Podaj nazwę podsumowania (*.txt):\n Podsumowanie pods.txt zostało zapamiętane.\n\n");
        EXPECT_EQ(ui.events.back().title, "Podsumowanie");
    }
}

TEST(Summary, DeclinedOrCancelledSummaryStoresNothing) {
    FactStore store;
    ScriptedInteraction ui;
    Report report(store, ui);
    const auto memory = sample_run(store, "mała");
    ui.answers = {"NIE"};
    EXPECT_FALSE(report.podsumowanie(memory));
    EXPECT_TRUE(ui.output.empty());
    ui.answers = {"TAK", ""};
    EXPECT_FALSE(report.podsumowanie(memory));
    EXPECT_NE(ui.output.find("Podsumowanie wnioskowania: fakty\n    gorączka\n"), std::string::npos);
    EXPECT_TRUE(ui.of_kind("note").empty());
}

// The console transcript of both offers, as a user at the terminal sees them.
TEST(ConsoleTranscript, ReportAndSummaryOffers) {
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
    report.podsumowanie(memory);
    report.raport();
    expect_golden("report_and_summary.transcript", out.str(), dir.path().string());
}

}  // namespace
}  // namespace xamo
