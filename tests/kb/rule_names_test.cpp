#include "kb/rule_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace xamo {
namespace {

std::vector<std::string> texts_of(const RuleNames& names, RuleNames::Range range) {
    std::vector<std::string> out;
    for (auto n = range.first; n != range.second; ++n) out.emplace_back(names.text(*n));
    return out;
}

// Conditions as written, their positive forms (also of a name met only negated) and
// conclusions share one numbering, made again only once the rules change.
TEST(RuleNames, NumberConditionsPositiveFormsAndConclusionsOnce) {
    FactStore store;
    store.add(make_rule(1, "ciepło", {"słońce", "nwiatr"}, 0));
    store.add(make_rule(2, "nmróz", {"ciepło", "słońce"}, 0));
    const auto names = store.rule_names();
    EXPECT_EQ(store.rule_names(), names);
    EXPECT_TRUE(names->any_negated());
    EXPECT_EQ(texts_of(*names, names->conditions(0)),
              (std::vector<std::string>{"słońce", "nwiatr"}));
    EXPECT_EQ(texts_of(*names, names->conditions(1)),
              (std::vector<std::string>{"ciepło", "słońce"}));
    EXPECT_EQ(names->text(names->conclusion(1)), "nmróz");
    EXPECT_EQ(names->conclusion(0), names->conditions(1).first[0]);
    EXPECT_EQ(names->text(names->positive(names->find("nwiatr"))), "wiatr");
    EXPECT_EQ(names->positive(names->find("słońce")), names->find("słońce"));
    EXPECT_EQ(names->find("mróz"), RuleNames::npos);  // a negated conclusion is no condition

    store.add(make_rule(3, "deszcz", {"chmury"}, 0));
    const auto changed = store.rule_names();
    EXPECT_NE(changed, names);
    EXPECT_NE(changed->find("chmury"), RuleNames::npos);
    store.remove_all(Kind::regula);
    EXPECT_EQ(names->text(names->find("nwiatr")), "nwiatr");  // its own snapshot of the rules
    EXPECT_EQ(store.rule_names()->size(), 0u);
}

}  // namespace
}  // namespace xamo
