#include <gtest/gtest.h>

#include "app/application.h"
#include "app/command_catalog.h"
#include "support/base_dir.h"
#include "support/scripted_interaction.h"

namespace xamo {
namespace {

const std::vector<std::string> kRules = {
    R"(reguła(1,"grypa",["gorączka","kaszel"],1))",
    R"(reguła(2,"angina",["ból_gardła","gorączka"],1))",
};

class Availability : public ::testing::Test {
  protected:
    void SetUp() override {
        app.start();
        app.close_introduction();
    }
    bool all_enabled(const std::vector<int>& ids) {
        for (int id : ids) {
            if (!app.commands().enabled(id)) return false;
        }
        return true;
    }
    bool none_enabled(const std::vector<int>& ids) {
        for (int id : ids) {
            if (app.commands().enabled(id)) return false;
        }
        return true;
    }
    // `checked`: the load reaches its checks and offers the three diagnoses, declined here.
    void load_rules(const std::string& name, const std::vector<std::string>& lines,
                    bool checked = true) {
        ui.answers.push_back(dir.write(name, lines));
        if (checked) ui.answers.insert(ui.answers.end(), {"Nie", "Nie", "Nie"});
        ASSERT_EQ(app.run_command(10058), CommandTable::RunResult::Done);
    }

    testing::BaseDir dir;
    ScriptedInteraction ui;
    Application app{ui};
};

TEST(AvailabilityAtStart, EverythingIsDisabledUntilTheIntroductionCloses) {
    ScriptedInteraction ui;
    Application app(ui);
    app.start();
    for (const auto& info : app.commands().commands())
        EXPECT_FALSE(app.commands().enabled(info.id)) << info.id;
    EXPECT_EQ(app.run_command(10152), CommandTable::RunResult::Disabled);
    EXPECT_TRUE(ui.of_kind("note").empty());
    app.close_introduction();
    EXPECT_EQ(app.run_command(10152), CommandTable::RunResult::Done);
    EXPECT_FALSE(app.commands().enabled(10071));
}

TEST_F(Availability, RuleBaseLoadEnablesItsTable) {
    EXPECT_TRUE(none_enabled(commands_enabled_after_load(10058)));
    load_rules("REgrypa.BRD", kRules);
    EXPECT_TRUE(all_enabled(commands_enabled_after_load(10058)));
    EXPECT_TRUE(none_enabled(commands_enabled_after_load(10071)));
}

TEST_F(Availability, CancelledOrFailedLoadsEnableNothing) {
    ui.answers.push_back("");
    app.run_command(10058);
    EXPECT_EQ(ui.main_title, "xamo");
    load_rules("REzle.BRD", {kRules[0], ""}, false);  // a trailing empty line
    load_rules("REskladnia.BRD", {"reguła (1,\"a\",[\"b\"],1)"}, false);
    load_rules("REfakty.BRD", {R"(fakt("katar"))", kRules[0]});  // declared fact not a condition
    EXPECT_TRUE(none_enabled(commands_enabled_after_load(10058)));
    EXPECT_FALSE(app.store().any(Kind::nazwa_re));
}

TEST_F(Availability, ModelBaseLoadEnablesModelCommandsOnlyWhenItStaysLoaded) {
    load_rules("REgrypa.BRD", kRules);
    // A relational model concluding what a rule concludes unloads both bases.
    ui.answers.push_back(
        dir.write("MOgrypa.zle.BRD", {R"(model(1,"bez warunku","grypa","t",">","38",1))"}));
    app.run_command(10071);
    EXPECT_TRUE(none_enabled(commands_enabled_after_load(10071)));
    EXPECT_FALSE(app.store().any(Kind::nazwa_re));

    load_rules("REgrypa.BRD", kRules);
    ui.answers.push_back(
        dir.write("MOgrypa.BRD", {R"(model(1,"gorączka","dawka","waga","*","2",1))"}));
    app.run_command(10071);
    EXPECT_TRUE(all_enabled(commands_enabled_after_load(10071)));
}

TEST_F(Availability, DiagnosisFlagsRefuseDependentBasesSilently) {
    load_rules("REgrypa.BRD", kRules);
    app.flags().sprzecznosc_mr = true;
    const auto events = ui.events.size();
    app.run_command(10087);
    app.run_command(10097);
    EXPECT_EQ(ui.events.size(), events);  // no dialog at all
    dir.write_bytes("GRAFIKA/grypa/a.bmp", "");
    ui.answers.push_back(dir.write("BAZY/GRgrypa.BRD", {R"(grafika(1,"a.bmp"))"}));
    app.run_command(10108);  // graphics depend on the rule base alone
    EXPECT_TRUE(all_enabled(commands_enabled_after_load(10108)));

    app.flags().sprzecznosc_1z = true;
    app.run_command(10071);
    EXPECT_TRUE(none_enabled(commands_enabled_after_load(10071)));
    EXPECT_TRUE(ui.of_kind("open").size() == 2);
}

TEST(AvailabilityTables, EveryIdNamesACatalogCommand) {
    ScriptedInteraction ui;
    Application app(ui);
    std::vector<int> ids = browse_commands();
    for (int load : {10058, 10071, 10087, 10097, 10108, 10118}) {
        const auto& enabled = commands_enabled_after_load(load);
        EXPECT_FALSE(enabled.empty()) << load;
        ids.insert(ids.end(), enabled.begin(), enabled.end());
    }
    ids.insert(ids.end(), startup_commands().begin(), startup_commands().end());
    for (int id : ids) EXPECT_NE(app.commands().find(id), nullptr) << id;
}

}  // namespace
}  // namespace xamo
