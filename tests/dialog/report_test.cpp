#include "dialog/report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "kb/base_file.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

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
    EXPECT_EQ(TextFact(back.all(Kind::tekst_raportu)[0]).text(), kTricky);
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

}  // namespace
}  // namespace xamo
