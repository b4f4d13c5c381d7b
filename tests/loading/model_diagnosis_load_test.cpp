// The diagnoses of the model base and of models with rules and constraints as the loads run them,
// and what their verdicts keep from starting.
#include <gtest/gtest.h>

#include <memory>

#include "app/application.h"
#include "loading/loading.h"
#include "support/base_dir.h"
#include "support/scripted_interaction.h"

namespace xamo {
namespace {

class ModelDiagnosisLoad : public ::testing::Test {
  protected:
    ModelDiagnosisLoad() {
        app.start();
        app.close_introduction();
    }
    void run(int command, const std::vector<std::string>& answers) {
        ui.answers.insert(ui.answers.end(), answers.begin(), answers.end());
        app.run_command(command);
        ui.expect_all_answers_used();
    }
    void load_rules(const std::vector<std::string>& lines) {
        run(10058, {dir.write("REm.BRD", lines), "Nie", "Nie", "Nie"});
    }
    void load_models(const std::string& name, const std::vector<std::string>& lines) {
        run(10071, {dir.write(name, lines)});
    }
    // Both inferences: nothing but the clearing of the message window.
    void expect_inference_refused() {
        const std::size_t before = ui.events.size();
        run(10148, {});
        run(10149, {});
        ASSERT_EQ(ui.events.size(), before + 2) << "inference started";
        EXPECT_EQ(ui.events[before].kind, "clear");
        EXPECT_EQ(ui.events[before + 1].kind, "clear");
    }
    std::vector<std::string> note_titles() const {
        std::vector<std::string> out;
        for (const auto& e : ui.of_kind("note")) out.push_back(e.title);
        return out;
    }

    testing::BaseDir dir;
    ScriptedInteraction ui;
    Application app{ui};
};

const std::vector<std::string> kRules = {R"(reguła(1,"grzanie",["zimno","noc"],1))",
                                         R"(reguła(2,"zimno",["chłód","zima"],1))",
                                         R"(reguła(3,"wietrzenie",["lato","noc"],1))"};

TEST_F(ModelDiagnosisLoad, ACleanModelBaseIsToldSoTwiceAndLoads) {
    load_rules(kRules);
    load_models("MOm.BRD", {R"(model(1,"noc","chłód","t","<","15",1))"});
    const auto titles = note_titles();
    ASSERT_GE(titles.size(), 3u);
    EXPECT_EQ(titles[titles.size() - 2], "Wynik diagnozowania sprzeczności");
    EXPECT_EQ(titles.back(), "Wynik diagnozowania sprzeczności łącznych");
    EXPECT_NE(ui.output.find("Baza modeli MOm.BRDjest diagnozowana na obecność sprzeczności.\n"),
              std::string::npos);
    EXPECT_TRUE(base_loaded(app.store(), BaseKind::Models));
    EXPECT_TRUE(app.commands().enabled(10078));
    EXPECT_FALSE(app.commands().enabled(10084));
}

TEST_F(ModelDiagnosisLoad, EachContradictionStopsTheLoadAndInference) {
    struct Case {
        std::vector<std::string> models;
        bool name_withdrawn;
    };
    const Case cases[] = {
        {{R"(model(1,"bez warunku","x","x","+","1",1))"}, true},
        {{R"(model(1,"bez warunku","y","z","*","2",1))",
          R"(model(2,"bez warunku","z","y","-","3",1))"},
         true},
        {{R"(model(1,"alarm","alarm","t",">","5",1))"}, true},
        // Joint: model 1 applies under "grzanie", concluded by rule 1 from "zimno", concluded by
        // rule 2 from "chłód", which model 1 concludes.
        {{R"(model(1,"grzanie","chłód","t","<","15",1))",
          R"(model(2,"bez warunku","t","t0","+","1",1))",
          R"(model(3,"noc","chłód","t",">","30",1))"},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.models.front());
        load_rules(kRules);
        load_models("MOm.BRD", c.models);
        EXPECT_EQ(base_loaded(app.store(), BaseKind::Models), !c.name_withdrawn);
        EXPECT_TRUE(app.store().any(Kind::model));  // kept for the report
        EXPECT_TRUE(app.flags().contradiction_found());
        EXPECT_TRUE(app.commands().enabled(c.name_withdrawn ? 10084 : 10085));
        expect_inference_refused();
    }
}

TEST_F(ModelDiagnosisLoad, AJointContradictionRefusesConstraintsAndAdviceUntilReloaded) {
    load_rules(kRules);
    dir.write("OGm.BRD", {R"(ograniczenie(1,["zima","lato"]))"});
    load_models("MOm.BRD", {R"(model(1,"grzanie","chłód","t","<","15",1))",
                            R"(model(2,"noc","chłód","t",">","30",1))"});
    ASSERT_TRUE(app.flags().sprzecznosc_mr);
    // Refused without a file dialog (the strict double would fail on one).
    run(10087, {});
    run(10097, {});
    EXPECT_FALSE(base_loaded(app.store(), BaseKind::Constraints));

    // A model base without the contradiction lifts the refusal; the constraint load asks both
    // joint questions.
    load_models("MOm.BRD", {R"(model(1,"bez warunku","chłód","t","<","15",1))"});
    EXPECT_FALSE(app.flags().contradiction_found());
    run(10087, {dir.path("OGm.BRD"), "Tak", "Tak"});
    EXPECT_TRUE(base_loaded(app.store(), BaseKind::Constraints));
    const auto titles = note_titles();
    EXPECT_EQ(titles[titles.size() - 2], "Wynik diagnozowania sprzeczności łącznych");
    EXPECT_EQ(titles.back(), "Wynik diagnozowania nadmiarowości łącznych");
    EXPECT_TRUE(app.commands().enabled(10094) && app.commands().enabled(10095));
}

}  // namespace
}  // namespace xamo
