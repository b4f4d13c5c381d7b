#include "inference/summary.h"

#include <gtest/gtest.h>

#include "kb/codec.h"
#include "support/sample_run.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace xamo {
namespace {

using testing::sample_run;

TEST(Summary, DetailLevelDecidesWhetherConclusionsAreListed) {
    testing::TempDir dir;
    for (const std::string detail : {"mała", "duża"}) {
        FactStore store;
        ScriptedInteraction ui;
        const auto memory = sample_run(store, detail);
        ui.answers = {"TAK", dir.file("pods.txt")};
        EXPECT_TRUE(podsumowanie(store, ui, memory));
        // Declared facts are in working memory too, under number 0.
        const std::string conclusions =
            detail == "duża" ? "    gorączka\r\n    grypa\r\n    zapalenie\r\n" : "";
        EXPECT_EQ(
            dir.read("pods.txt"),
            *utf8_to_cp1250("Etykiety wnioskowania: \r\n    pacjent 1\r\n    wizyta domowa\r\n"
                            "\r\nPodsumowanie wnioskowania: fakty\r\n    gorączka\r\n\r\n"
                            "    nkaszel\r\n\r\n" +
                            conclusions +
                            "\r\nPodsumowanie wnioskowania: wartości argumentów\r\n"
                            "    temperatura = 38.5\r\n    wiek = 42\r\n"));
        EXPECT_EQ(ui.output,
                  "\n\n Podaj nazwę podsumowania (*.txt):\n Podsumowanie pods.txt zostało "
                  "zapamiętane.\n\n");
        EXPECT_EQ(ui.events.back().title, "Podsumowanie");
    }
}

TEST(Summary, DeclinedOrCancelledSummaryStoresNothing) {
    FactStore store;
    ScriptedInteraction ui;
    const auto memory = sample_run(store, "mała");
    ui.answers = {"NIE"};
    EXPECT_FALSE(podsumowanie(store, ui, memory));
    EXPECT_TRUE(ui.output.empty());
    ui.answers = {"TAK", ""};
    EXPECT_FALSE(podsumowanie(store, ui, memory));
    EXPECT_NE(ui.output.find("Podsumowanie wnioskowania: fakty\n    gorączka\n"),
              std::string::npos);
    EXPECT_TRUE(ui.of_kind("note").empty());
}

}  // namespace
}  // namespace xamo
