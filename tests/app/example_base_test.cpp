#include <gtest/gtest.h>

#include <filesystem>

#include "app/application.h"
#include "dialog/media_info.h"
#include "media/media_files.h"
#include "support/base_dir.h"
#include "support/scripted_interaction.h"

namespace xamo {
namespace {

// The shipped example loads without a single complaint: its description, the "loaded" notes of
// the six bases, the three diagnoses offered by the rule base's load and the two by the constraint
// base's, which it passes, and the diagnoses of the model base.
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
          std::pair{10087, "OGogrzewanie.BRD"}, std::pair{10097, "RAogrzewanie.BRD"},
          std::pair{10108, "GRogrzewanie.BRD"}, std::pair{10118, "DŹogrzewanie.BRD"}}) {
        ui.answers.push_back((bases / name).string());
        if (id == 10058) ui.answers.insert(ui.answers.end(), {"Tak", "Tak", "Tak"});
        if (id == 10087) ui.answers.insert(ui.answers.end(), {"Tak", "Tak"});
        EXPECT_EQ(app.run_command(id), CommandTable::RunResult::Done);
    }
    std::vector<std::string> titles;
    for (const auto& event : ui.events) {
        if (event.kind == "note" || event.kind == "confirm" || event.kind == "ask")
            titles.push_back(event.title);
    }
    EXPECT_EQ(
        titles,
        (std::vector<std::string>{
            "Wynik ładowania bazy reguł", "Wybierz", "Wynik diagnozowania sprzeczności zewnętrznej",
            "Wybierz", "Wynik diagnozowania sprzeczności wewnętrznej", "Wybierz",
            "Wynik diagnozowania nadmiarowości", "Wynik ładowania bazy modeli",
            "Wynik diagnozowania sprzeczności", "Wynik diagnozowania sprzeczności łącznych",
            "Wynik ładowania bazy ograniczeń", "Wybierz",
            "Wynik diagnozowania sprzeczności łącznych", "Wybierz",
            "Wynik diagnozowania nadmiarowości łącznych", "Baza rad została załadowana !",
            "Baza grafiki została załadowana !", "Baza dźwięku została załadowana !"}));
    ASSERT_EQ(ui.of_kind("description").size(), 1u);
    EXPECT_EQ(ui.of_kind("description")[0].title, "Czytanie opisu bazy: OGRZEWANIE");
    EXPECT_TRUE(app.store().any(Kind::nazwa_og));
    EXPECT_TRUE(app.store().any(Kind::nazwa_me));

    // Every advice text, picture and sound the bases name is there and readable.
    for (MediaKind kind : {MediaKind::Advice, MediaKind::Picture, MediaKind::Sound}) {
        for (const auto& name : media_names(app.store(), kind)) {
            const MediaFile file = resolve_media(app.store(), kind, name);
            ASSERT_TRUE(file.exists) << file.path;
            if (kind == MediaKind::Picture) {
                EXPECT_TRUE(picture_size(file.path)) << file.path;
            } else if (kind == MediaKind::Sound) {
                EXPECT_TRUE(wav_info(file.path)) << file.path;
            }
        }
    }
    EXPECT_FALSE(app.numbering().rozne_numery());
    EXPECT_EQ(ui.main_title, "xamo_RD wnioskuje dla bazy wiedzy OGRZEWANIE");
}

}  // namespace
}  // namespace xamo
