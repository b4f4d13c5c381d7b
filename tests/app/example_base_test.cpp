#include <gtest/gtest.h>

#include <filesystem>

#include "app/application.h"
#include "support/base_dir.h"
#include "support/scripted_interaction.h"

namespace xamo {
namespace {

// The shipped example loads without a single complaint: only the three "loaded" notes appear,
// and the rule base passes the three diagnoses offered by its load.
TEST(ExampleKnowledgeBase, LoadsCleanly) {
    testing::BaseDir restore_directory;
    const auto bases =
        std::filesystem::path(XAMO_TEST_DATA).parent_path().parent_path() / "examples" / "BAZY";
    ScriptedInteraction ui;
    Application app(ui);
    app.start();
    app.close_introduction();
    for (const auto& [id, name] :
         {std::pair{10058, "REogrzewanie.BRD"}, std::pair{10071, "MOogrzewanie.BRD"},
          std::pair{10087, "OGogrzewanie.BRD"}}) {
        ui.answers.push_back((bases / name).string());
        if (id == 10058) ui.answers.insert(ui.answers.end(), {"Tak", "Tak", "Tak"});
        EXPECT_EQ(app.run_command(id), CommandTable::RunResult::Done);
    }
    std::vector<std::string> titles;
    for (const auto& event : ui.events) {
        if (event.kind == "note" || event.kind == "confirm" || event.kind == "ask")
            titles.push_back(event.title);
    }
    EXPECT_EQ(titles, (std::vector<std::string>{
                          "Wynik ładowania bazy reguł", "Wybierz",
                          "Wynik diagnozowania sprzeczności zewnętrznej", "Wybierz",
                          "Wynik diagnozowania sprzeczności wewnętrznej", "Wybierz",
                          "Wynik diagnozowania nadmiarowości", "Wynik ładowania bazy modeli",
                          "Wynik ładowania bazy ograniczeń"}));
    EXPECT_TRUE(app.store().any(Kind::nazwa_og));
    EXPECT_FALSE(app.numbering().rozne_numery());
    EXPECT_EQ(ui.main_title, "xamo_RD wnioskuje dla bazy wiedzy OGRZEWANIE");
}

}  // namespace
}  // namespace xamo
