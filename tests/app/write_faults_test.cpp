// Every kind of file the program writes, against a disk that fails: the old file survives
// unchanged and the user is told why.
#include <gtest/gtest.h>

#include "app/application.h"
#include "app/edit_session.h"
#include "askable/askable_file.h"
#include "dialog/report.h"
#include "inference/summary.h"
#include "loading/loading.h"
#include "support/faulty_file_ops.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace xamo {
namespace {

using testing::FaultyFileOps;
using Fault = FaultyFileOps::Fault;

const std::string kOld = "stara treść\r\n";

class WriteFaults : public ::testing::TestWithParam<Fault> {
  protected:
    // The notes shown, joined, to find the reason in.
    std::string notes() const {
        std::string all;
        for (const auto& e : ui.of_kind("note")) all += e.title + ": " + e.text + "\n";
        return all;
    }
    void expect_old_file_and_a_note(const std::string& name) {
        EXPECT_EQ(dir.read(name), kOld) << name;
        EXPECT_TRUE(notes().find(name) != std::string::npos ||
                    notes().find("nie został") != std::string::npos)
            << notes();
    }

    testing::TempDir dir;
    ScriptedInteraction ui;
    Application app{ui};
    FaultyFileOps faulty{GetParam()};
};

TEST_P(WriteFaults, BaseSavedFromTheEditor) {
    const std::string path = dir.write("REgrypa.BRD", kOld);
    EditSession session(app, path);
    ASSERT_TRUE(session.load());
    ScopedFileOps scope(faulty);
    EXPECT_FALSE(session.save("fakt(\"nowy\")\n"));
    expect_old_file_and_a_note("REgrypa.BRD");
}

TEST_P(WriteFaults, ReportFile) {
    const std::string path = dir.write("bieg.RPT", kOld);
    app.report().kasowanie_tekst_raportu();
    app.report().pisz("Wnioskowanie zakończone.");
    ui.answers = {"Tak", path, "Nie"};  // the failed report is offered again: declined
    ScopedFileOps scope(faulty);
    app.report().raport();
    expect_old_file_and_a_note("bieg.RPT");
}

TEST_P(WriteFaults, SummaryFile) {
    const std::string path = dir.write("pods.txt", kOld);
    ui.answers = {"TAK", path};
    ScopedFileOps scope(faulty);
    EXPECT_FALSE(podsumowanie(app.store(), ui, app.inference()));
    expect_old_file_and_a_note("pods.txt");
}

TEST_P(WriteFaults, CreatedBase) {
    const std::string path = dir.write("REnowa.BRD", kOld);
    ui.answers = {path};
    KnowledgeBase kb = app.knowledge_base();
    ScopedFileOps scope(faulty);
    create_base(kb, BaseKind::Rules);
    expect_old_file_and_a_note("REnowa.BRD");
    EXPECT_TRUE(ui.of_kind("editor").empty());
}

TEST_P(WriteFaults, AskableConditionFile) {
    const std::string path = dir.write("dopytywalne.txt", kOld);
    app.store().set_text(Kind::nazwa_re, "REgrypa.BRD");
    app.askable().lista_warunkow_dopytywalnych = StringList{"gorączka"};
    ui.answers = {path, "tak"};  // the file exists: overwrite it
    ScopedFileOps scope(faulty);
    EXPECT_FALSE(zachowaj(app.store(), app.askable(), ui));
    expect_old_file_and_a_note("dopytywalne.txt");
}

INSTANTIATE_TEST_SUITE_P(Faults, WriteFaults,
                         ::testing::Values(Fault::Create, Fault::NthWrite, Fault::Flush,
                                           Fault::Close, Fault::Rename, Fault::DiskFull));

}  // namespace
}  // namespace xamo
