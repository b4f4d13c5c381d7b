#include "kb/conditions.h"

#include <gtest/gtest.h>

namespace xamo {
namespace {

TEST(Conditions, NegationAddsOrRemovesLeadingLowerCaseN) {
    EXPECT_EQ(negacja("ngorączka"), "gorączka");
    EXPECT_EQ(negacja("gorączka"), "ngorączka");
    EXPECT_EQ(negacja("nadwaga"), "adwaga");
    EXPECT_EQ(negacja("Nadwaga"), "nNadwaga");
    EXPECT_TRUE(is_negated("n"));
    EXPECT_FALSE(is_negated(""));
    EXPECT_EQ(strip_negations({"ngorączka", "kaszel", "n"}),
              (StringList{"gorączka", "kaszel", ""}));
}

TEST(Conditions, ConstantsReadCompletelyAsReals) {
    EXPECT_TRUE(is_constant("12"));
    EXPECT_TRUE(is_constant("-3.5"));
    EXPECT_TRUE(is_constant("1.5E3"));
    EXPECT_DOUBLE_EQ(*constant_value("1.5E3"), 1500.0);
    EXPECT_FALSE(is_constant("x1"));
    EXPECT_FALSE(is_constant(""));
    EXPECT_FALSE(is_constant("12a"));
    EXPECT_FALSE(is_constant("1e400"));
    EXPECT_FALSE(is_constant("nan"));
}

TEST(Conditions, DistinguisherCountsCharactersAndTakesFirstToken) {
    EXPECT_EQ(distinguisher("REgrypa.BRD"), "grypa");
    EXPECT_EQ(distinguisher("MOgrypa_2.BRD"), "grypa_2");
    EXPECT_EQ(distinguisher("RE.BRD"), ".");
    EXPECT_EQ(distinguisher("DŹgrypa.BRD"), "grypa");
    EXPECT_EQ(distinguisher("RE123abc.BRD"), "123");
    EXPECT_EQ(distinguisher("REżaba.BRD"), "ż");
    EXPECT_EQ(distinguisher("RE"), "");
    EXPECT_EQ(name_extension("REgrypa.BRD"), ".BRD");
    EXPECT_EQ(list_text(StringList{"a", "nb"}), "[\"a\",\"nb\"]");
    EXPECT_EQ(list_text(IntegerList{2, 5}), "[2,5]");
}

}  // namespace
}  // namespace xamo
