#include "analysis/numbering.h"

#include <gtest/gtest.h>

#include "support/scripted_interaction.h"

namespace xamo {
namespace {

TEST(Numbering, FirstNumberThatOccursAgainLater) {
    EXPECT_EQ(first_repeated({1, 2, 2, 3}), 2);
    EXPECT_EQ(first_repeated({4, 1, 2, 1, 4}), 4);
    EXPECT_EQ(first_repeated({9, -7, 5, 5, 5, -7}), -7);
    EXPECT_FALSE(first_repeated({1, 2, 3}).has_value());
    EXPECT_FALSE(first_repeated({}).has_value());
}

TEST(Numbering, ModelNumbersAreUniqueAcrossKinds) {
    FactStore store;
    ScriptedInteraction ui;
    NumberingMemory memory;
    store.add(Fact{Kind::model, {std::int32_t{5}, "w", "y", "x", "+", "1", std::int32_t{1}}});
    store.add(Fact{Kind::model_liniowy,
                   {std::int32_t{5}, "w", "z", StringList{"1"}, StringList{"x"}, std::int32_t{1}}});
    EXPECT_TRUE(testuj_numery(store, ui, memory, NumberedBase::Rules, "REx.BRD"));
    EXPECT_FALSE(testuj_numery(store, ui, memory, NumberedBase::Models, "MOx.BRD"));
    EXPECT_TRUE(memory.rozne_numery());
    ASSERT_EQ(ui.events.size(), 1u);
    EXPECT_EQ(ui.events[0].title, "Błąd bazy modeli");
    EXPECT_EQ(
        ui.events[0].text,
        "W bazie modeli rozwiniętej dokladnej\n   MOx.BRD\nwystępuje conajmniej dwukrotnie "
        "\nmodel o numerze 5.\nDlatego nie można wnioskować z bazami modeli,\nktórych modele "
        "mają powtarzające się numery.\nPrzejdź do opcji\n   'Baza modeli dokładna\n   Edycja "
        "bazy modeli'\ni popraw numerację modeli w bazie.");
    memory.forget(NumberedBase::Models);
    EXPECT_FALSE(memory.rozne_numery());
}

}  // namespace
}  // namespace xamo
