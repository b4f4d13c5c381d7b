// Media names and their files, the directory check, the offers after a conclusion, the base
// description and stored reports.
#include <gtest/gtest.h>

#include <filesystem>

#include "dialog/interaction.h"
#include "kb/base_file.h"
#include "kb/codec.h"
#include "media/description.h"
#include "media/documents.h"
#include "media/media_files.h"
#include "media/media_paths.h"
#include "media/offers.h"
#include "support/base_dir.h"
#include "support/scripted_interaction.h"

namespace xamo {
namespace {

namespace fs = std::filesystem;

// A knowledge base directory BAZY (the current directory) with its media siblings.
class MediaTest : public ::testing::Test {
  protected:
    MediaTest() {
        dir.write("BAZY/REgrypa.BRD", {});
        fs::current_path(dir.path("BAZY"));
        store.set_text(Kind::wyroznik, "grypa");
    }

    // Writes a media file beside the base directory; `relative` as in "RADY/grypa/a.hlp".
    std::string media(const std::string& relative, const std::string& utf8_text = "x") {
        return dir.write_bytes(relative, *utf8_to_cp1250(utf8_text));
    }
    void entry(Kind kind, std::int32_t number, const std::string& name) {
        store.add({kind, {number, name}});
    }

    testing::BaseDir dir;
    FactStore store;
    ScriptedInteraction ui;
};

TEST_F(MediaTest, FilesAreFoundPartByPartWithoutRegardToLetterCase) {
    const std::string advice = media("Rady/Grypa/Rada1.HLP");
    const std::string sound = media("DŹWIĘKI/grypa/kaszel.wav");
    std::string found;
    ASSERT_TRUE(find_file("..\\RADY\\grypa\\rada1.hlp", &found));
    EXPECT_TRUE(fs::equivalent(found, advice));
    EXPECT_EQ(found, "../Rady/Grypa/Rada1.HLP");  // the parts as they stand on disk
    ASSERT_TRUE(find_file("../dźwięki/GRYPA/KASZEL.WAV", &found));
    EXPECT_TRUE(fs::equivalent(found, sound));
    EXPECT_FALSE(find_file("..\\RADY\\grypa\\rada2.hlp"));
    EXPECT_FALSE(find_file("..\\RADY\\grypa"));  // a directory is no file
    EXPECT_FALSE(find_file(""));

    // Two names differing only in letter case: the exact one, else the first in byte order.
    media("RADY/grypa/a.hlp", "małe");
    media("RADY/grypa/A.hlp", "duże");
    ASSERT_TRUE(find_file("../RADY/grypa/a.hlp", &found));
    EXPECT_EQ(fs::path(found).filename(), "a.hlp");
    ASSERT_TRUE(find_file("../RADY/grypa/A.HLP", &found));
    EXPECT_EQ(fs::path(found).filename(), "A.hlp");
}

TEST_F(MediaTest, NamesBecomePathsUnderTheDistinguisher) {
    media("GRAFIKA/grypa/obraz.bmp");
    media("GRAFIKA/grypa/widok.PNG");
    media("RADY/grypa/sub/rada.hlp");
    MediaFile file = resolve_media(store, MediaKind::Picture, "obraz");
    EXPECT_TRUE(file.exists);
    EXPECT_EQ(file.path, "../GRAFIKA/grypa/obraz.bmp");
    // A name with its own extension is used as it stands; "\" in a stored name is accepted.
    EXPECT_TRUE(resolve_media(store, MediaKind::Picture, "widok.png").exists);
    EXPECT_TRUE(resolve_media(store, MediaKind::Advice, "sub\\rada.hlp").exists);
    file = resolve_media(store, MediaKind::Sound, "brak");
    EXPECT_FALSE(file.exists);
    EXPECT_EQ(file.path, "../DŹWIĘKI/grypa/brak.wav");

    // Each resolution records its directory first, each directory once.
    ASSERT_EQ(store.all(Kind::sciezka1).size(), 1u);
    EXPECT_EQ(store.text(Kind::sciezka1), "../GRAFIKA/grypa");
    EXPECT_EQ(store.text(Kind::sciezka), "../RADY/grypa/sub");
    EXPECT_EQ(store.text(Kind::sciezka2), "../DŹWIĘKI/grypa");

    // Without a recorded distinguisher the media base's own file name gives it.
    store.remove_all(Kind::wyroznik);
    store.set_text(Kind::nazwa_gr, "/x/BAZY/GRodra_1.BRD");
    EXPECT_EQ(media_distinguisher(store, MediaKind::Picture), "odra_1");
    EXPECT_EQ(resolve_media(store, MediaKind::Picture, "obraz").path,
              "../GRAFIKA/odra_1/obraz.bmp");
    EXPECT_EQ(media_distinguisher(store, MediaKind::Advice), "");
}

TEST_F(MediaTest, DirectoryCheckNeedsAFileOfTheKind) {
    EXPECT_FALSE(check_media_directory(store, ui, MediaKind::Advice));
    EXPECT_EQ(ui.output,
              "Brak kartoteki z radami grypa.\nBazy rad nie można ładować gdy brak kartoteki z "
              "radami.\n");
    ASSERT_EQ(ui.of_kind("note").size(), 1u);
    EXPECT_EQ(ui.of_kind("note")[0].title, "Uwaga błąd!");
    EXPECT_EQ(ui.of_kind("note")[0].text,
              "Brak kartoteki z radami grypa.\nBazy rad nie można ładować gdy brak kartoteki z "
              "radami.");

    media("rady/GRYPA/opis.txt");  // the directory, in other letter case, but no advice file
    EXPECT_FALSE(check_media_directory(store, ui, MediaKind::Advice));
    media("rady/GRYPA/rada.Hlp");
    EXPECT_TRUE(check_media_directory(store, ui, MediaKind::Advice));
    media("grafika/grypa/obraz.jpg");
    EXPECT_TRUE(check_media_directory(store, ui, MediaKind::Picture));
    EXPECT_FALSE(check_media_directory(store, ui, MediaKind::Sound));
    EXPECT_EQ(ui.of_kind("note").back().text,
              "Brak kartoteki z dźwiękami grypa.\nBazy dźwięków nie można ładować gdy brak "
              "kartoteki z dźwiękami.");
}

// --- offers ------------------------------------------------------------------------------------

class Offers : public MediaTest {
  protected:
    Offers() {
        store.add(make_rule(1, "grypa", {"gorączka", "kaszel"}, 1));
        store.add(make_rule(2, "angina", {"ból_gardła"}, 0));
        store.add({Kind::model, {3, "bez warunku", "gorączka", "t", ">", "38", 1}});
        store.add({Kind::model, {4, "bez warunku", "dawka", "waga", "*", "2", 1}});
        store.add(
            {Kind::model_r, {5, "bez warunku", "w_normie", "<,<", StringList{"a", "b", "c"}, 1}});
        media("RADY/grypa/grypa.hlp", "Leż w łóżku.\r\n");
        media("RADY/grypa/zdrowie.hlp", "Nic ci nie jest.");
        media("RADY/grypa/goraczka.hlp", "Zbij gorączkę.");
    }
    void offer_all(std::int32_t number, const std::string& conclusion) {
        udziel_rady(store, ui, number, conclusion);
        wyswietl_grafike(store, ui, number, conclusion);
        przesluchaj_melodie(store, ui, number, conclusion);
    }
    std::vector<std::string> kinds() const {
        std::vector<std::string> out;
        for (const auto& e : ui.events) out.push_back(e.kind);
        return out;
    }
};

TEST_F(Offers, PositiveConclusionOfARuleOffersItsAdvice) {
    entry(Kind::rada, 1, "grypa.hlp");
    entry(Kind::nrada, 1, "zdrowie.hlp");
    ui.answers = {"Tak"};
    udziel_rady(store, ui, 1, "grypa");
    ASSERT_EQ(kinds(), (std::vector<std::string>{"confirm", "advice"}));
    EXPECT_EQ(ui.events[0].title, "Wybierz:");
    EXPECT_EQ(ui.events[0].text, "Czy chcesz uzyskać radę?");
    EXPECT_EQ(ui.events[1].text, "Leż w łóżku.\r\n");
    EXPECT_EQ(ui.output, " Czy chcesz uzyskać radę dla reguly?  \n\n");
}

TEST_F(Offers, NegatedConclusionOffersTheNegatedEntry) {
    entry(Kind::rada, 1, "grypa.hlp");
    entry(Kind::nrada, 1, "zdrowie.hlp");
    ui.answers = {"Tak"};
    udziel_rady(store, ui, 1, "ngrypa");
    ASSERT_EQ(kinds(), (std::vector<std::string>{"confirm", "advice"}));
    EXPECT_EQ(ui.events[1].text, "Nic ci nie jest.");
}

TEST_F(Offers, NothingForASilentRuleAnArithmeticModelOrAMissingEntry) {
    for (Kind kind : {Kind::rada, Kind::grafika, Kind::dzwiek}) {
        entry(kind, 2, "grypa.hlp");
        entry(kind, 4, "grypa.hlp");
    }
    offer_all(2, "angina");   // display semaphore 0
    offer_all(4, "dawka");    // arithmetic models offer nothing
    offer_all(1, "grypa");    // no entry for rule 1
    offer_all(1, "nangina");  // rule 1 does not conclude angina
    EXPECT_TRUE(ui.events.empty());
    EXPECT_EQ(ui.output, "");
}

TEST_F(Offers, RelationalModelsOfferTheirMediaWithTheirOwnWords) {
    entry(Kind::rada, 3, "goraczka.hlp");
    entry(Kind::ndzwiek, 3, "dreszcze");
    media("DŹWIĘKI/grypa/dreszcze.wav");  // not a wave file
    ui.answers = {"Tak"};
    udziel_rady(store, ui, 3, "gorączka");
    EXPECT_EQ(ui.output, " Czy chcesz uzyskać radę dla modelu?  \n\n");
    ASSERT_EQ(ui.of_kind("advice").size(), 1u);
    EXPECT_EQ(ui.of_kind("advice")[0].text, "Zbij gorączkę.");

    // The negated conclusion of a relational model asks for the "melodia", and the line before
    // the question says so too; a file that cannot be played is reported once and the offer ends.
    ui.output.clear();
    ui.answers = {"Tak"};
    przesluchaj_melodie(store, ui, 3, "ngorączka");
    EXPECT_EQ(ui.of_kind("confirm").back().text, "Czy chcesz przesłuchać dołączoną melodię?");
    EXPECT_EQ(ui.of_kind("sound").size(), 1u);
    EXPECT_EQ(ui.output,
              " Czy chcesz przesłuchać dołączoną melodię?  \nNie można odtworzyć pliku "
              "dźwiękowego ../DŹWIĘKI/grypa/dreszcze.wav.\n\n");

    // An extended relation is relational too.
    entry(Kind::grafika, 5, "w_normie");
    ui.answers = {"Nie"};
    ui.output.clear();
    wyswietl_grafike(store, ui, 5, "w_normie");
    EXPECT_EQ(ui.output, " Czy chcesz przejrzeć dołączoną grafikę?      NIE\n\n");
}

TEST_F(Offers, NoOrAMissingFileIsAnsweredNie) {
    entry(Kind::grafika, 1, "brak");
    entry(Kind::dzwiek, 1, "brak");
    ui.answers = {"Nie", "Tak"};
    offer_all(1, "grypa");
    EXPECT_EQ(kinds(), (std::vector<std::string>{"confirm", "confirm"}));
    EXPECT_EQ(ui.output,
              " Czy chcesz przejrzeć dołączoną grafikę?      NIE\n\n"
              " Czy chcesz przesłuchać dołączony dźwięk?      NIE\n\n");
}

// --- descriptions and reports --------------------------------------------------------------------

TEST_F(MediaTest, DescriptionIsShownWhenItsFileExists) {
    MediaMemory memory;
    remember_description(store, memory);
    show_description(memory, ui);
    EXPECT_TRUE(ui.events.empty());  // no file, nothing shown

    media("opisy/Grypa.opi", "Baza o grypie.\r\nŻółć.");
    remember_description(store, memory);
    // Found from the remembered path even after the current directory changed.
    fs::current_path("..");
    show_description(memory, ui);
    ASSERT_EQ(ui.of_kind("description").size(), 1u);
    EXPECT_EQ(ui.events[0].title, "Czytanie opisu bazy: GRYPA");
    EXPECT_EQ(ui.events[0].text, "Baza o grypie.\r\nŻółć.");
}

TEST_F(MediaTest, ReportsReadBackTheirTextOrTheReasonTheyCannot) {
    FactStore written;
    written.add(make_text_fact(Kind::tekst_raportu, "Pierwsza linia\n\"cytat\" i \\ ukośnik"));
    const std::string report = dir.path("raport.rpt");
    ASSERT_TRUE(write_section(written, Section::Report, report).ok);
    store.add(make_text_fact(Kind::tekst_raportu, "stary raport"));
    TextRead read = read_report(store, report);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.text, "Pierwsza linia\n\"cytat\" i \\ ukośnik");
    EXPECT_EQ(store.all(Kind::tekst_raportu).size(), 1u);

    read = read_report(store, dir.write_bytes("zly.rpt", "tekst_raportu(brak cudzysłowu)\r\n"));
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.text.rfind("Plik zly.rpt nie jest raportem.\n", 0), 0u) << read.text;
    read = read_report(store, dir.write_bytes("pusty.rpt", ""));
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.text, "Plik pusty.rpt nie zawiera tekstu raportu.");
    read = read_report(store, dir.path("brak.rpt"));
    EXPECT_FALSE(read.ok);
}

}  // namespace
}  // namespace xamo
