#include "askable/askable_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "askable/askable.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace xamo {
namespace {

// Rules and constraints, no model base: a condition in two constraints counts for the first only.
class AskableFile : public ::testing::Test {
  protected:
    AskableFile() {
        store.set_text(Kind::nazwa_re, "REa.BRD");
        store.add(make_rule(1, "w", {"ą", "b", "c", "d"}, 1));
        remember_askable(memory, ui, askable_conditions_of_rules(store, memory));
        store.set_text(Kind::nazwa_og, "OGa.BRD");
        store.add(Fact{Kind::ograniczenie, {7, StringList{"b", "c"}}});
        store.add(Fact{Kind::ograniczenie, {8, StringList{"c", "d"}}});
        ui.output.clear();
    }

    FactStore store;
    AskableMemory memory;
    ScriptedInteraction ui;
    testing::TempDir dir;
};

TEST_F(AskableFile, GroupsAndTheBytesOnDisk) {
    const AskableGroups groups = askable_groups(store, memory);
    EXPECT_EQ(groups.war_dopyt_bez_modeli, (StringList{"ą"}));
    EXPECT_EQ(groups.numer_ograniczenia_dla_bazy_regul, (std::set<std::int32_t>{7, 8}));
    ui.answers = {dir.file("a.txt")};
    ASSERT_TRUE(zachowaj(store, memory, ui));
    // Windows-1250 with CR LF line ends; each constraint on one line.
    EXPECT_EQ(dir.read("a.txt"),
              "Warunki dopytywalne niewykluczaj\xb9"
              "ce si\xea bazy regu\xb3 REa.BRD\r\n"
              "   \xb9\r\n"
              "Warunki dopytywalne wzajemnie wykluczaj\xb9"
              "ce si\xea bazy regu\xb3 REa.BRD\r\n"
              "   b#   c#\r\n"
              "   c#   d#\r\n");
    EXPECT_FALSE(store.any(Kind::nazwa_pliku_war_arg));
    EXPECT_TRUE(ui.output.empty());
}

TEST_F(AskableFile, AnsweringNieAsksAgainAndAFailedWriteIsReported) {
    dir.write("a.txt", "stary");
    std::filesystem::create_directory(dir.path() / "katalog");
    // Over the old file: "&NIE" asks again; a directory cannot be written as a file.
    ui.answers = {dir.file("a.txt"), "nie", dir.file("katalog"), "tak"};
    EXPECT_FALSE(zachowaj(store, memory, ui));
    EXPECT_EQ(dir.read("a.txt"), "stary");
    EXPECT_EQ(ui.output, "       Nie\n");
    EXPECT_EQ(ui.of_kind("note").back().title, "Błąd!");
    EXPECT_EQ(ui.of_kind("note").back().text.rfind(
                  "Plik dopytywalnych " + dir.file("katalog") + " nie został utworzony.\n", 0),
              0u);
    EXPECT_FALSE(store.any(Kind::nazwa_pliku_war_arg));
    // Without a rule base there is nothing to write.
    store.remove_all(Kind::nazwa_re);
    EXPECT_FALSE(zachowaj(store, memory, ui));
}

}  // namespace
}  // namespace xamo
