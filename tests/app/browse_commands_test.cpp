#include "app/browse_commands.h"

#include <gtest/gtest.h>

#include "app/application.h"
#include "kb/codec.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace xamo {
namespace {

class BrowseCommands : public ::testing::Test {
  protected:
    ScriptedInteraction ui;
    Application app{ui};

    void run(int id) {
        app.commands().enable({id});
        ASSERT_EQ(app.run_command(id), CommandTable::RunResult::Done);
    }
};

TEST_F(BrowseCommands, RuleWindowShowsEveryRuleWithItsFieldsAndTheCount) {
    app.store().add(make_rule(7, "grypa", {"gorączka", "nkaszel"}, 1));
    app.store().add(make_rule(9, "angina", {"ból gardła"}, 0));
    run(10061);
    ASSERT_EQ(ui.browse_views.size(), 1u);
    const auto& view = ui.browse_views.front();
    EXPECT_EQ(view.number_label, "Nr reguły");
    ASSERT_EQ(view.fields.size(), 2u);
    EXPECT_EQ(view.fields[0].label, "Wniosek z reguły");
    EXPECT_FALSE(view.fields[0].multiline);
    EXPECT_EQ(view.fields[1].label, " Lista warunków ");
    EXPECT_TRUE(view.fields[1].multiline);
    ASSERT_EQ(view.items.size(), 2u);
    EXPECT_EQ(view.items[1].number, 9);
    EXPECT_EQ(view.items[0].values[0], std::vector<std::string>{"grypa"});
    EXPECT_EQ(view.items[0].values[1], (std::vector<std::string>{"gorączka", "nkaszel"}));
    ASSERT_EQ(view.counts.size(), 1u);
    EXPECT_EQ(view.counts[0].label, "Sumaryczna liczba reguł");
    EXPECT_EQ(view.counts[0].value, 2u);
}

TEST_F(BrowseCommands, ModelWindowsShowNumbersInDecimalAndCountAllFourKinds) {
    app.store().add({Kind::model_wielomianowy,
                     {3, std::string("dorosły"), std::string("y"), std::string("x"),
                      StringList{"1.5", "a"}, IntegerList{0, -2}, 1}});
    app.store().add({Kind::model,
                     {1, std::string("w"), std::string("s"), std::string("a"), std::string("+"),
                      std::string("b"), 0}});
    run(10077);
    ASSERT_EQ(ui.browse_views.size(), 1u);
    const auto& view = ui.browse_views.front();
    EXPECT_EQ(view.heading, "MODEL WIELOMIANOWY");
    EXPECT_EQ(view.formula, "y=a0+a1*x+a2*x^2+...+an*x^n");
    ASSERT_EQ(view.fields.size(), 6u);
    EXPECT_EQ(view.fields[2].label, "Semafor wyświetlania");
    EXPECT_EQ(view.items[0].values[2], std::vector<std::string>{"1"});
    EXPECT_EQ(view.fields[5].label, " Lista potęg ");
    EXPECT_EQ(view.items[0].values[5], (std::vector<std::string>{"0", "-2"}));
    ASSERT_EQ(view.counts.size(), 4u);
    EXPECT_EQ(view.counts[0].value, 1u);  // basic
    EXPECT_EQ(view.counts[3].value, 1u);  // polynomial
    EXPECT_EQ(view.counts[2].value, 0u);  // linear
}

TEST_F(BrowseCommands, EmptyBasesShowTheirNoteAndOpenNoWindow) {
    const std::vector<std::tuple<int, std::string, std::string>> cases = {
        {10061, "Uwaga błąd!", "Baza reguł nie zawiera reguł !"},
        {10089, "Uwaga błąd!", "Baza ograniczeń nie zawiera ograniczeń !"},
        {10074, "Uwaga!", "Baza modeli nie zawiera modeli liniowych !"},
        {10075, "Uwaga!", "Baza modeli nie zawiera modeli podstawowych !"},
        {10076, "Uwaga!", "Baza modeli nie zawiera modeli rozszerzonych !"},
        {10077, "Uwaga!", "Baza modeli nie zawiera modeli wielomianowych !"},
    };
    for (const auto& [id, title, text] : cases) {
        ui.events.clear();
        run(id);
        const auto notes = ui.of_kind("note");
        ASSERT_EQ(notes.size(), 1u) << id;
        EXPECT_EQ(notes[0].title, title);
        EXPECT_EQ(notes[0].text, text);
    }
    EXPECT_TRUE(ui.browse_views.empty());
}

TEST_F(BrowseCommands, EditCommandsAskForTheFileThenOpenTheEditor) {
    ui.answers = {"/bazy/REgrypa.BRD", ""};
    run(10064);
    run(10120);  // cancelled
    const auto opens = ui.of_kind("open");
    ASSERT_EQ(opens.size(), 2u);
    EXPECT_EQ(opens[0].title, "Wybierz nazwę edytowanej bazy reguł : ");
    EXPECT_EQ(opens[0].text, "RE*.BRD");
    EXPECT_EQ(opens[0].items, std::vector<std::string>{"Bazy reguł (RE*.BRD)|re*.BRD"});
    EXPECT_EQ(opens[1].title, "Wybierz edytowaną bazę dźwięku ");
    const auto editors = ui.of_kind("editor");
    ASSERT_EQ(editors.size(), 1u);
    EXPECT_EQ(editors[0].text, "/bazy/REgrypa.BRD");
}

TEST_F(BrowseCommands, WholeRuleFileIsShownDecodedUnderTheBrowseTitle) {
    testing::TempDir dir;
    const std::string path =
        dir.write("REgrypa.BRD", *utf8_to_cp1250("reguła(1,\"grypa\",[\"gorączka\"],1)\r\n"));
    app.store().set_text(Kind::nazwa_re_pelna, path);
    app.store().set_text(Kind::nazwa_re, "REgrypa.BRD");
    run(10062);
    const auto windows = ui.of_kind("window");
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0].text, "reguła(1,\"grypa\",[\"gorączka\"],1)\r\n");
    EXPECT_EQ(ui.main_title, "xamo_RD Przegląd pliku bazy: REgrypa.BRD");

    ui.events.clear();
    app.store().remove_all(Kind::nazwa_mo_pelna);
    run(10078);
    ASSERT_EQ(ui.of_kind("note").size(), 1u);
    EXPECT_TRUE(ui.of_kind("window").empty());
}

}  // namespace
}  // namespace xamo
