#include "loading/consult_error.h"

#include <gtest/gtest.h>

#include "kb/codec.h"
#include "support/scripted_interaction.h"

namespace xamo {
namespace {

std::optional<ReadError> read(FactStore& store, Section section, const std::string& utf8) {
    return read_section_bytes(store, section, *utf8_to_cp1250(utf8));
}

TEST(ConsultError, ShowsCaretLineInOutputAndNote) {
    ScriptedInteraction ui;
    FactStore store;
    const auto error = read(store, Section::Rules, "reguła(1,\"a\",[\"b\"]x,1)");
    ASSERT_TRUE(error);
    ASSERT_TRUE(show_consult_error(ui, *error, "/baza/REa.BRD"));
    EXPECT_EQ(ui.output,
              "\n\nBłąd syntaksu w pliku /baza/REa.BRD\nreguła(1,\"a\",[\"b\"]x,1)\n"
              "                  ^\nOczekiwany znak , lub )\n\n");
    ASSERT_EQ(ui.events.size(), 1u);
    EXPECT_EQ(ui.events[0].title, "Obsługa błędu");
    EXPECT_EQ(ui.events[0].text,
              "Błąd syntaksu w pliku REa.BRD\n\nreguła(1,\"a\",[\"b\"]x,1)\n                  ^\n"
              "Oczekiwany znak , lub )");

    ScriptedInteraction quiet;
    ReadError empty;
    empty.kind = ReadErrorKind::EmptyLine;
    EXPECT_FALSE(show_consult_error(quiet, empty, "/baza/REa.BRD"));
    ReadError far = *error;
    far.position = 30000;
    EXPECT_FALSE(show_consult_error(quiet, far, "/baza/REa.BRD"));
    EXPECT_TRUE(quiet.events.empty());
    EXPECT_TRUE(quiet.output.empty());
}

}  // namespace
}  // namespace xamo
