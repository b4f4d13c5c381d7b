#include "loading/loading.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "app/application.h"
#include "kb/codec.h"
#include "kb/files.h"
#include "support/base_dir.h"
#include "support/scripted_interaction.h"

namespace xamo {
namespace {

// The three diagnoses offered by every rule-base load that reaches its checks, declined.
const std::vector<std::string> kNoDiagnoses = {"Nie", "Nie", "Nie"};

class Loading : public ::testing::Test {
  protected:
    // Loads the file written from `lines`; `then` answers the questions of the load.
    std::string load(BaseKind kind, const std::string& name, const std::vector<std::string>& lines,
                     const std::vector<std::string>& then = {}) {
        ui.answers.push_back(dir.write(name, lines));
        ui.answers.insert(ui.answers.end(), then.begin(), then.end());
        KnowledgeBase kb = app.knowledge_base();
        return load_base(kb, kind);
    }
    void load_rules() {
        ASSERT_FALSE(load(BaseKind::Rules, "REgrypa.BRD",
                          {R"(reguła(1,"grypa",["gorączka","kaszel"],1))",
                           R"(reguła(2,"angina",["ból_gardła","gorączka"],1))"},
                          kNoDiagnoses)
                         .empty());
    }

    testing::BaseDir dir;
    ScriptedInteraction ui;
    Application app{ui};
};

TEST_F(Loading, RuleBaseLoadClearsEveryBaseNameAndWorkingFact) {
    load_rules();
    load(BaseKind::Models, "MOgrypa.BRD", {R"(model(1,"gorączka","dawka","waga","*","2",1))"});
    dir.write_bytes("GRAFIKA/grypa/a.bmp", "");
    load(BaseKind::Graphics, "BAZY/GRgrypa.BRD",
         {R"(grafika(1,"a.bmp"))", R"(ngrafika(1,"b.bmp"))"});
    FactStore& store = app.store();
    ASSERT_TRUE(store.any(Kind::nazwa_gr));
    ASSERT_TRUE(app.media().opis);
    store.add(make_text_fact(Kind::tekst_raportu, "raport"));
    store.add(make_text_fact(Kind::sciezka, "RADY"));
    app.inference().rbd.add(1, "grypa");
    app.flags().sprzecznosc_mr = true;
    app.numbering().duplicates[1] = true;
    ASSERT_TRUE(store.any(Kind::nazwa_mo));

    ui.answers.push_back("");  // cancel: the knowledge base is already empty
    KnowledgeBase kb = app.knowledge_base();
    EXPECT_EQ(load_base(kb, BaseKind::Rules), "");
    for (Section s : {Section::Rules, Section::Models, Section::Constraints, Section::Advice,
                      Section::Graphics, Section::Sounds, Section::Names}) {
        EXPECT_EQ(store.section_size(s), 0u);
    }
    // The report text is emptied, not removed, so what follows is collected into it.
    ASSERT_EQ(store.section_size(Section::Report), 1u);
    EXPECT_EQ(store.text(Kind::tekst_raportu), "");
    EXPECT_TRUE(app.inference().rbd.empty());
    EXPECT_FALSE(app.media().opis);
    EXPECT_TRUE(app.askable().lista_warunkow_dopytywalnych.empty());
    EXPECT_FALSE(app.flags().sprzecznosc_mr);
    EXPECT_FALSE(app.numbering().rozne_numery());
    EXPECT_EQ(ui.main_title, "xamo");
}

TEST_F(Loading, DeclaredFactsMustBeConditionsAskableOrNot) {
    const auto base = [](std::vector<std::string> facts) {
        facts.push_back(R"(reguła(1,"grypa",["gorączka","kaszel"],1))");
        facts.push_back(R"(reguła(2,"leczenie",["grypa","gorączka"],1))");
        return facts;
    };
    // A concluded condition and a negated askable one are both conditions of the rules.
    EXPECT_FALSE(load(BaseKind::Rules, "REgrypa.BRD",
                      base({R"(fakt("grypa"))", R"(fakt("nkaszel"))"}), kNoDiagnoses)
                     .empty());
    EXPECT_EQ(app.store().all(Kind::fakt).size(), 2u);
    EXPECT_TRUE(app.store().any(Kind::nazwa_re));
    // A conclusion no rule has as a condition is not: reported, and the base is unloaded.
    load(BaseKind::Rules, "REgrypa.BRD", base({R"(fakt("kaszel"))", R"(fakt("leczenie"))"}),
         kNoDiagnoses);
    EXPECT_FALSE(app.store().any(Kind::fakt));
    EXPECT_FALSE(app.store().any(Kind::nazwa_re));
    const auto report = ui.output.find("Następujące fakty nie są warunkami dopytywalnymi");
    ASSERT_NE(report, std::string::npos);
    EXPECT_EQ(ui.output.find("kaszel", report), std::string::npos);
    EXPECT_NE(ui.output.find("leczenie", report), std::string::npos);
}

TEST_F(Loading, NameFactsDistinguisherAndDirectory) {
    const std::string path = dir.write("REgrypa_2.BRD", {R"(reguła(1,"a",["b","c"],1))"});
    ui.answers.push_back(path);
    ui.answers.insert(ui.answers.end(), kNoDiagnoses.begin(), kNoDiagnoses.end());
    KnowledgeBase kb = app.knowledge_base();
    EXPECT_EQ(load_base(kb, BaseKind::Rules), path);
    const FactStore& store = app.store();
    EXPECT_EQ(store.text(Kind::nazwa_re), "REgrypa_2.BRD");
    EXPECT_EQ(store.text(Kind::nazwa_re_pelna), path);
    EXPECT_EQ(store.text(Kind::wyroznik), "grypa_2");
    EXPECT_EQ(store.text(Kind::rozszerzenie), ".BRD");
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(path).parent_path());
    EXPECT_EQ(ui.main_title, "xamo_RD wnioskuje dla bazy wiedzy GRYPA_2");

    // Graphics and sounds record only their full path. Their media directory is a sibling of
    // the base directory.
    dir.write_bytes("GRAFIKA/grypa_2/a.bmp", "");
    const std::string graphics = dir.write("BAZY/GRgrypa_2.BRD", {R"(grafika(1,"a.bmp"))"});
    ui.answers.push_back(graphics);
    EXPECT_EQ(load_base(kb, BaseKind::Graphics), graphics);
    EXPECT_EQ(store.text(Kind::nazwa_gr), graphics);
}

TEST(UpperCase, PolishLettersToo) { EXPECT_EQ(upper_case("ąćęłńóśźż_ab1.Ź"), "ĄĆĘŁŃÓŚŹŻ_AB1.Ź"); }

TEST_F(Loading, FailedReadLeavesNothingOfTheBase) {
    EXPECT_EQ(load(BaseKind::Rules, "REgrypa.BRD", {R"(reguła(1,"a",["b","c"],1))", "reguła("}),
              "");
    EXPECT_FALSE(app.store().any(Kind::regula));
    EXPECT_FALSE(base_loaded(app.store(), BaseKind::Rules));
    ASSERT_EQ(ui.of_kind("note").size(), 2u);  // the syntax error, then the edit hint
    EXPECT_EQ(ui.of_kind("note")[1].title, "Błąd");
    load_rules();
    EXPECT_EQ(app.store().all(Kind::regula).size(), 2u);
    // A constraint base read up to a line in error keeps none of its constraints.
    EXPECT_EQ(load(BaseKind::Constraints, "OGgrypa.BRD",
                   {R"(ograniczenie(1,["gorączka","kaszel"]))", "ograniczenie(2,"}),
              "");
    EXPECT_FALSE(app.store().any(Kind::ograniczenie));
}

// A FIFO or an oversized file chosen as a base is refused at once, naming the cause; opening a
// FIFO would wait forever for a writer.
TEST_F(Loading, SpecialAndOversizedFilesAreRefusedWithoutWaiting) {
    ASSERT_EQ(::mkfifo(dir.path("REpotok.BRD").c_str(), 0600), 0);
    ui.answers = {dir.path("REpotok.BRD")};
    KnowledgeBase kb = app.knowledge_base();
    EXPECT_EQ(load_base(kb, BaseKind::Rules), "");
    EXPECT_NE(ui.output.find("nie jest zwykłym plikiem"), std::string::npos);

    const std::string big = dir.write("REduza.BRD", {R"(fakt("a"))"});
    std::filesystem::resize_file(big, kMaxFileBytes + 1);
    ui.answers = {big};
    EXPECT_EQ(load_base(kb, BaseKind::Rules), "");
    EXPECT_NE(ui.output.find("jest za duży"), std::string::npos);
    EXPECT_FALSE(app.store().any(Kind::fakt));
}

TEST_F(Loading, MismatchedDistinguisherIsNotReadAndClearsThePreviousBase) {
    load_rules();
    load(BaseKind::Models, "MOgrypa.BRD", {R"(model(1,"gorączka","dawka","waga","*","2",1))"});
    ASSERT_TRUE(base_loaded(app.store(), BaseKind::Models));
    EXPECT_EQ(load(BaseKind::Models, "MOodra.BRD", {R"(model(1,"gorączka","d","w","*","2",1))"}),
              "");
    EXPECT_FALSE(app.store().any(Kind::model));
    EXPECT_FALSE(base_loaded(app.store(), BaseKind::Models));
    EXPECT_EQ(ui.of_kind("note").back().title, "Uwaga błąd!");
}

TEST_F(Loading, ClearingTheModelBaseKeepsWhatTheRuleBaseOwns) {
    load(BaseKind::Rules, "REgrypa.BRD",
         {R"(reguła(1,"grypa",["gorączka","kaszel"],1))",
          R"(reguła(1,"angina",["ból_gardła","gorączka"],1))"},
         kNoDiagnoses);
    load(BaseKind::Models, "MOgrypa.BRD",
         {R"(model(1,"gorączka","masa","waga","*","1",1))",
          R"(model(1,"kaszel","dawka","masa","/","10",1))"},
         {"Nie"});  // which models are tautological: not shown
    EXPECT_TRUE(app.numbering().duplicates[0]);
    EXPECT_TRUE(app.numbering().duplicates[1]);
    EXPECT_EQ(app.load_memory().model_tautologiczny.size(), 1u);
    EXPECT_FALSE(app.askable().lista_argumentow_dopytywalnych.empty());

    KnowledgeBase kb = app.knowledge_base();
    clear_base(kb, BaseKind::Models);
    EXPECT_FALSE(app.store().any(Kind::nazwa_mo));
    EXPECT_FALSE(app.store().any(Kind::nazwa_mo_pelna));
    EXPECT_TRUE(app.load_memory().model_tautologiczny.empty());
    EXPECT_TRUE(app.askable().lista_argumentow_dopytywalnych.empty());
    // The duplicate rule numbers still stop inference.
    EXPECT_TRUE(app.numbering().rozne_numery());
    EXPECT_EQ(app.askable().lista_warunkow_dopytywalnych.size(), 3u);
}

TEST_F(Loading, ModelsOfOneResultAgainstTheConstraintsKeepOrUnloadTheThreeBases) {
    load_rules();
    load(BaseKind::Models, "MOgrypa.BRD",
         {R"(model(1,"grypa","dawka","waga","*","2",1))",
          R"(model(2,"angina","dawka","waga","*","3",1))"});
    // The rules concluding grypa and angina never fire together; the joint diagnoses of rules
    // and constraints are offered then, declined. An unloading check offers none.
    EXPECT_FALSE(load(BaseKind::Constraints, "OGgrypa.BRD",
                      {R"(ograniczenie(1,["kaszel","ból_gardła"]))"}, {"Nie", "Nie"})
                     .empty());
    load(BaseKind::Models, "MOgrypa.BRD",
         {R"(model(1,"grypa","dawka","waga","*","2",1))",
          R"(model(2,"zima","dawka","waga","*","3",1))"});
    EXPECT_EQ(
        load(BaseKind::Constraints, "OGgrypa.BRD", {R"(ograniczenie(1,["kaszel","ból_gardła"]))"}),
        "");
    EXPECT_EQ(ui.of_kind("note").back().text.find("Brak reguł dla"), 0u);
    for (BaseKind kind : {BaseKind::Rules, BaseKind::Models, BaseKind::Constraints})
        EXPECT_FALSE(base_loaded(app.store(), kind));
    EXPECT_FALSE(app.store().any(Kind::regula));
    EXPECT_FALSE(app.store().any(Kind::model));
    EXPECT_FALSE(app.store().any(Kind::ograniczenie));
    EXPECT_TRUE(app.askable().lista_warunkow_dopytywalnych.empty());
}

TEST_F(Loading, DeletingAGraphicsBaseRemovesBothKindsOfEntries) {
    load_rules();
    dir.write_bytes("GRAFIKA/grypa/a.bmp", "");
    load(BaseKind::Graphics, "BAZY/GRgrypa.BRD",
         {R"(grafika(1,"a.bmp"))", R"(ngrafika(1,"b.bmp"))"});
    ASSERT_TRUE(base_loaded(app.store(), BaseKind::Graphics));
    const std::string other = dir.write("GRinna.BRD", {});
    ui.answers = {other, "Tak"};
    KnowledgeBase kb = app.knowledge_base();
    delete_base(kb, BaseKind::Graphics);
    EXPECT_FALSE(std::filesystem::exists(other));
    EXPECT_FALSE(app.store().any(Kind::grafika));
    EXPECT_FALSE(app.store().any(Kind::ngrafika));
    EXPECT_FALSE(base_loaded(app.store(), BaseKind::Graphics));
}

TEST_F(Loading, DeleteThatFailsChangesNothing) {
    load_rules();
    ui.answers = {dir.path("REbrak.BRD"), "Tak"};
    KnowledgeBase kb = app.knowledge_base();
    delete_base(kb, BaseKind::Rules);
    EXPECT_TRUE(base_loaded(app.store(), BaseKind::Rules));
    EXPECT_EQ(app.store().all(Kind::regula).size(), 2u);
    EXPECT_EQ(ui.of_kind("note").back().title, "Uwaga błąd!");
}

TEST_F(Loading, CreateTruncatesAndOffersTheEditor) {
    const std::string path = dir.write("REnowa.BRD", {R"(reguła(1,"a",["b","c"],1))"});
    ui.answers = {path, "TAK"};
    KnowledgeBase kb = app.knowledge_base();
    create_base(kb, BaseKind::Rules);
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    ASSERT_EQ(ui.of_kind("editor").size(), 1u);
    EXPECT_EQ(ui.of_kind("editor")[0].text, path);

    ui.answers = {dir.path("brak/MOnowa.BRD")};
    create_base(kb, BaseKind::Models);
    EXPECT_EQ(ui.of_kind("note").back().title, "Uwaga błąd!");
    EXPECT_EQ(ui.of_kind("ask").size(), 1u);
}

}  // namespace
}  // namespace xamo
