// The media menu commands of the advice, graphics and sound bases, end to end through the
// application: loading the bases with their directory check, then choosing, showing, playing,
// creating and deleting media files.
#include "app/media_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/application.h"
#include "support/base_dir.h"
#include "support/scripted_interaction.h"

namespace xamo {
namespace {

namespace fs = std::filesystem;

std::string bitmap() {
    // 1 x 1, 24 bits.
    std::string bmp = "BM" + std::string(56, '\0');
    bmp[10] = 54;
    bmp[14] = 40;
    bmp[18] = 1;
    bmp[22] = 1;
    bmp[26] = 1;
    bmp[28] = 24;
    return bmp;
}

class MediaCommands : public ::testing::Test {
  protected:
    MediaCommands() {
        app.close_introduction();
        ui.answers.push_back(
            dir.write("BAZY/REgrypa.BRD", {R"(reguła(1,"grypa",["gorączka","kaszel"],1))"}));
        // The three diagnoses the rule-base load offers are declined.
        ui.answers.insert(ui.answers.end(), {"Nie", "Nie", "Nie"});
        run(10058);
    }

    void run(int id) { ASSERT_EQ(app.run_command(id), CommandTable::RunResult::Done) << id; }

    // Loads a media base; its files beside the base directory.
    void load(int command, const std::string& name, const std::vector<std::string>& lines) {
        ui.answers.push_back(dir.write("BAZY/" + name, lines));
        run(command);
    }

    testing::BaseDir dir;
    ScriptedInteraction ui;
    Application app{ui};
};

TEST_F(MediaCommands, AdviceFilesAreChosenByNameAndShown) {
    dir.write("RADY/grypa/Rada1.HLP", {"Pij dużo."});
    load(10097, "RAgrypa.BRD",
         {R"(rada(1,"rada1.hlp"))", R"(nrada(1,"rada2.hlp"))", R"(rada(2,"rada1.hlp"))"});
    ASSERT_TRUE(app.store().any(Kind::nazwa_ra));
    ui.events.clear();
    ui.answers = {"1", "2"};
    run(10102);
    run(10102);
    const auto lists = ui.of_kind("dropdown");
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(lists[0].title, "Obejrzenie pliku tekstowego rady");
    EXPECT_EQ(lists[0].text, "Baza rad: RAgrypa.BRD");
    EXPECT_EQ(lists[0].items, (std::vector<std::string>{"rada1.hlp", "rada2.hlp"}));
    ASSERT_EQ(ui.of_kind("advice").size(), 1u);
    EXPECT_EQ(ui.of_kind("advice")[0].text, "Pij dużo.\r\n");
    ASSERT_EQ(ui.of_kind("note").size(), 1u);
    EXPECT_EQ(ui.of_kind("note")[0].title, "Uwaga!");
    EXPECT_EQ(ui.of_kind("note")[0].text, "Brak pliku tekstowego dla rady rada2.hlp.");

    // The listing of the base file.
    run(10098);
    EXPECT_EQ(ui.main_title, "xamo_RD Przegląd pliku bazy rad: RAgrypa.BRD");
    ASSERT_EQ(ui.of_kind("window").size(), 1u);
    EXPECT_EQ(ui.of_kind("window")[0].text.rfind("rada(1,\"rada1.hlp\")\r\n", 0), 0u);
}

TEST_F(MediaCommands, WithoutABaseOrItsNamesTheCommandsSaySo) {
    dir.write("RADY/grypa/r.hlp", {"x"});
    load(10097, "RAgrypa.BRD", {R"(rem_rada("nic"))"});
    ui.events.clear();
    run(10098);
    ASSERT_EQ(ui.of_kind("note").size(), 1u);
    EXPECT_EQ(ui.of_kind("note")[0].title, "Uwaga błąd!");
    EXPECT_EQ(ui.of_kind("note")[0].text, "Baza rad nie zawiera nazw rad !");

    // The base file deleted: the commands stay enabled and tell that no base is loaded.
    ui.answers = {dir.path("BAZY/RAgrypa.BRD"), "Tak"};
    run(10101);
    ui.events.clear();
    ui.output.clear();
    run(10098);
    run(10102);
    ASSERT_EQ(ui.of_kind("note").size(), 2u);
    EXPECT_EQ(ui.of_kind("note")[0].text, "Brak bazy rad do przeglądania!");
    EXPECT_EQ(ui.of_kind("note")[1].text, "Proszę załadować bazę rad!");
    EXPECT_EQ(ui.output, " Brak bazy rad do przeglądania.\n");
}

TEST_F(MediaCommands, PicturesAndSoundsOfTheBasesAreShownAndPlayed) {
    dir.write_bytes("grafika/GRYPA/obraz.bmp", bitmap());
    dir.write_bytes("DŹWIĘKI/grypa/zly.wav", "RIFF");
    load(10108, "GRgrypa.BRD", {R"(grafika(1,"obraz"))", R"(ngrafika(1,"brak"))"});
    load(10118, "DŹgrypa.BRD", {R"(dźwięk(1,"zly"))"});
    ASSERT_TRUE(app.store().any(Kind::nazwa_gr));
    ASSERT_TRUE(app.store().any(Kind::nazwa_me));
    EXPECT_TRUE(app.commands().enabled(10114));
    EXPECT_TRUE(app.commands().enabled(10124));
    ui.events.clear();
    ui.answers = {"", "2", "1"};
    run(10113);
    run(10113);
    run(10123);
    ASSERT_EQ(ui.of_kind("picture dialog").size(), 1u);
    EXPECT_EQ(ui.of_kind("picture dialog")[0].text, "../grafika/GRYPA/obraz.bmp");
    const auto notes = ui.of_kind("note");
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].text, "Brak pliku grafiki z brak.");
    // A file that is there but is no wave file is reported rather than played.
    EXPECT_EQ(notes[1].text, "Nie można odtworzyć pliku dźwiękowego ../DŹWIĘKI/grypa/zly.wav.");
    EXPECT_EQ(ui.of_kind("dropdown")[2].text, "Baza dźwiękuDŹgrypa.BRD");

    // Any picture of the directories in the picture window.
    ui.answers = {dir.path("grafika/GRYPA/obraz.bmp")};
    run(10114);
    ASSERT_EQ(ui.of_kind("picture").size(), 1u);
    EXPECT_EQ(ui.of_kind("picture")[0].title, "obraz.bmp");
    EXPECT_EQ(app.store().text(Kind::wyroznik), "grypa");  // kept for the loads to come
}

TEST_F(MediaCommands, AdviceFilesAreCreatedEmptyAndDeletedOnlyOnTak) {
    ui.answers = {dir.path("RADY/grypa/nowa.hlp"), "TAK"};
    fs::create_directories(dir.path("RADY/grypa"));
    run(10105);
    EXPECT_EQ(fs::file_size(dir.path("RADY/grypa/nowa.hlp")), 0u);
    EXPECT_EQ(ui.of_kind("note").back().text, "Nowy plik tekstowy rady nowa.hlp został utworzony.");
    EXPECT_EQ(ui.of_kind("ask").back().text,
              "Czy chcesz przejść od razu do edycji\nnowego pliku tekstowego rady nowa.hlp ?");
    ASSERT_EQ(ui.of_kind("editor").size(), 1u);

    ui.answers = {dir.path("RADY/grypa/nowa.hlp"), "Nie", dir.path("RADY/grypa/nowa.hlp"), "Tak"};
    run(10106);
    EXPECT_TRUE(fs::exists(dir.path("RADY/grypa/nowa.hlp")));
    run(10106);
    EXPECT_FALSE(fs::exists(dir.path("RADY/grypa/nowa.hlp")));
    EXPECT_EQ(ui.of_kind("ask").back().title, "Usunięcie pliku tekstowego rady");
    EXPECT_EQ(ui.of_kind("note").back().text, "Plik tekstowy rady nowa.hlp został usunięty.");
}

}  // namespace
}  // namespace xamo
