#include "inference/recording.h"

#include "inference_fixture.h"

namespace xamo::testing {
namespace {

class Recording : public InferenceTest {
  protected:
    void SetUp() override {
        InferenceTest::SetUp();
        rule(1, "k", {"p", "q"});
        rule(2, "m", {"np", "r"});
        rule(3, "z", {"s"});
    }
    int record(std::int32_t n, const std::string& r) {
        auto ctx = context();
        return zachowaj_wniosek(ctx, n, r).case_number;
    }
    // Rules 1 and 2 mention p; they are marked applied before each case.
    void mark_applied() {
        memory.regula_zastosowana.clear();
        for (std::int32_t n : {1, 2, 3}) memory.regula_zastosowana.insert(n);
    }
    bool reenabled() const {
        return memory.regula_zastosowana.count(1) == 0 && memory.regula_zastosowana.count(2) == 0 &&
               memory.regula_zastosowana.count(3) == 1;
    }
};

TEST_F(Recording, NegationWithdrawsTheOnlySupportOfItsOwnPositive) {
    memory.rbd.add(5, "p");
    mark_applied();
    EXPECT_EQ(record(5, "np"), 1);
    EXPECT_EQ(facts(), (std::vector<std::string>{"5:np"}));
    EXPECT_TRUE(reenabled());
}

TEST_F(Recording, TheSameResultAgainFails) {
    memory.rbd.add(5, "p");
    auto ctx = context();
    EXPECT_EQ(zachowaj_wniosek(ctx, 5, "p").case_number, 2);
    EXPECT_FALSE(zachowaj_wniosek(ctx, 5, "p").ok());
    memory.rbd.add(6, "nq");
    EXPECT_EQ(zachowaj_wniosek(ctx, 6, "nq").case_number, 3);
    EXPECT_EQ(memory.regula_zastosowana.count(6), 1u);
    EXPECT_EQ(facts(), (std::vector<std::string>{"5:p", "6:nq"}));
}

TEST_F(Recording, NegationWithdrawsOwnSupportButOthersRemain) {
    memory.rbd.add(5, "p");
    memory.rbd.add(0, "p");
    mark_applied();
    EXPECT_EQ(record(5, "np"), 4);
    EXPECT_EQ(facts(), (std::vector<std::string>{"0:p"}));
    EXPECT_TRUE(reenabled());
}

TEST_F(Recording, NegationOfWhatAnotherSupportsIsNotRecorded) {
    memory.rbd.add(0, "p");
    mark_applied();
    Recorded recorded;
    {
        auto ctx = context();
        recorded = zachowaj_wniosek(ctx, 5, "np");
    }
    EXPECT_EQ(recorded.case_number, 5);
    EXPECT_TRUE(recorded.ok());
    EXPECT_EQ(facts(), (std::vector<std::string>{"0:p"}));
    EXPECT_TRUE(reenabled());
}

TEST_F(Recording, NewNegationIsRecorded) {
    mark_applied();
    EXPECT_EQ(record(5, "np"), 6);
    EXPECT_EQ(facts(), (std::vector<std::string>{"5:np"}));
    EXPECT_TRUE(reenabled());
}

TEST_F(Recording, PositiveConclusionsAlwaysEnter) {
    mark_applied();
    EXPECT_EQ(record(5, "p"), 7);
    EXPECT_TRUE(reenabled());
    mark_applied();
    EXPECT_EQ(record(6, "p"), 8);
    EXPECT_TRUE(reenabled());
    EXPECT_EQ(facts(), (std::vector<std::string>{"5:p", "6:p"}));
}

TEST_F(Recording, PositiveConclusionDisplacesEveryNegation) {
    memory.rbd.add(0, "np");
    memory.rbd.add(4, "x");
    memory.rbd.add(7, "np");
    mark_applied();
    EXPECT_EQ(record(5, "p"), 9);
    EXPECT_EQ(facts(), (std::vector<std::string>{"4:x", "5:p"}));
    EXPECT_TRUE(reenabled());
}

TEST_F(Recording, NegationAlreadyEstablishedByAnotherChangesNothing) {
    memory.rbd.add(4, "np");
    mark_applied();
    EXPECT_EQ(record(5, "np"), 10);
    EXPECT_EQ(facts(), (std::vector<std::string>{"4:np"}));
    EXPECT_EQ(memory.regula_zastosowana.size(), 3u);
}

TEST_F(Recording, DeclaredConditionNegatesTheOtherMembersOfItsConstraint) {
    store.add(constraint(1, {"a", "b", "c"}));
    store.add(constraint(2, {"a", "d"}));
    memory.rbd.add(3, "c");
    auto ctx = context();
    EXPECT_TRUE(pamietaj(ctx, "a", true));
    EXPECT_FALSE(pamietaj(ctx, "a", true));  // already known
    EXPECT_FALSE(pamietaj(ctx, "nc", true));
    EXPECT_EQ(facts(), (std::vector<std::string>{"3:c", "0:a", "0:nb"}));
    EXPECT_EQ(memory.zanegowany_warunek_z_bazy_ograniczen, (StringList{"nb"}));
}

TEST_F(Recording, SeedingHandlesEveryConstraintOfTheFact) {
    store.add(constraint(1, {"a", "b"}));
    store.add(constraint(2, {"a", "d"}));
    auto ctx = context();
    EXPECT_TRUE(pamietaj(ctx, "a", true, true));
    EXPECT_EQ(facts(), (std::vector<std::string>{"0:a", "0:nb", "0:a", "0:nd"}));
}

TEST_F(Recording, DeclaredNegationShortensTheConstraint) {
    store.add(constraint(1, {"a", "b", "c"}));
    store.add(constraint(2, {"x", "y"}));
    auto ctx = context();
    EXPECT_TRUE(pamietaj(ctx, "nb", true));
    EXPECT_EQ(facts(), (std::vector<std::string>{"0:nb"}));
    const auto& constraints = store.all(Kind::ograniczenie);
    ASSERT_EQ(constraints.size(), 2u);
    EXPECT_EQ(Constraint(constraints[0]).number(), 2);
    EXPECT_EQ(Constraint(constraints[1]).number(), 1);
    EXPECT_EQ(Constraint(constraints[1]).members(), (StringList{"a", "c"}));
    EXPECT_TRUE(pamietaj(ctx, "q", false));
    EXPECT_TRUE(memory.rbd.established("nq"));
}

// Shortening the last constraints keeps them in place and only takes the member out of the
// lookups; shortening an earlier one moves it to the end. Lookups follow both.
TEST_F(Recording, ShortenedConstraintsAreFoundWhereTheyAre) {
    store.add(constraint(1, {"a", "b", "c"}));
    store.add(constraint(2, {"x", "y", "b"}));
    auto ctx = context();
    const auto number_holding = [&ctx](const std::string& member) {
        const Fact* found = ctx.constraint_with(member);
        return found ? Constraint(*found).number() : 0;
    };
    const auto members = [this](std::size_t i) {
        return Constraint(store.all(Kind::ograniczenie)[i]).members();
    };
    EXPECT_EQ(number_holding("x"), 2);
    EXPECT_TRUE(pamietaj(ctx, "nx", true, true));  // the last constraint: in place
    EXPECT_EQ(members(1), (StringList{"y", "b"}));
    EXPECT_EQ(number_holding("x"), 0);
    EXPECT_EQ(ctx.constraints_holding("b"), (std::vector<std::size_t>{0, 1}));
    EXPECT_TRUE(pamietaj(ctx, "nb", true, true));  // both, which are the last two
    EXPECT_EQ(members(0), (StringList{"a", "c"}));
    EXPECT_EQ(members(1), (StringList{"y"}));
    EXPECT_EQ(number_holding("b"), 0);
    EXPECT_EQ(number_holding("y"), 2);
    EXPECT_TRUE(pamietaj(ctx, "na", true));  // the first: moved to the end
    EXPECT_EQ(Constraint(store.all(Kind::ograniczenie)[0]).number(), 2);
    EXPECT_EQ(members(1), (StringList{"c"}));
    EXPECT_EQ(number_holding("a"), 0);
    EXPECT_EQ(number_holding("c"), 1);
    EXPECT_EQ(number_holding("y"), 2);
    EXPECT_EQ(facts(), (std::vector<std::string>{"0:nx", "0:nb", "0:nb", "0:na"}));
}

TEST_F(Recording, ChoiceFromAConstraintGivesTheMark) {
    auto ctx = context();
    EXPECT_EQ(pamietaj_wybor(ctx, {"a", "b", "c"}, 1, "b", "a"), 'n');
    EXPECT_EQ(facts(), (std::vector<std::string>{"0:a", "0:nb", "0:nc"}));
    EXPECT_EQ(ui.output, "a\n");
    memory.rbd.clear();
    EXPECT_EQ(pamietaj_wybor(ctx, {"a", "b"}, 1, "nb", "a"), 't');
    memory.rbd.clear();
    EXPECT_EQ(pamietaj_wybor(ctx, {"a", "b"}, 1, "na", "a"), 'n');
}

}  // namespace
}  // namespace xamo::testing
