#include "kb/operations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace xamo {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Case {
    double v1;
    double v2;
    const char* symbol;
    double expected;
};

TEST(OperationTable, ValuesOfTheBasicOperations) {
    const Case cases[] = {
        {2, 3, "+", 5},
        {2, 3, "-", -1},
        {2, 3, "*", 6},
        {7, 2, "/", 3.5},
        {7, 2, "div", 3},
        {-7, 2, "div", -3},
        {7.5, 2, "div", 4},
        {-7, 2, "mod", -1},
        {7, 2, "mod", 1},
        {4, 4, "min", 4},
        {4, 4, "max", 4},
        {3, 5, "min", 3},
        {3, 5, "max", 5},
        {25, 200, "%", 12.5},
        {2, 10, "A^N", 1024},
        {2, 2.5, "A^N", 8},
        {5, 0, "A^N", 1},
        {1.25, 1, "zaokrąglenie_do_N", 1.3},
        {-1.25, 1, "zaokrąglenie_do_N", -1.2},
        {9, 0, "=", 9},
        {9, 0, "sqrt", 3},
        {2.5, 0, "round", 3},
        {-2.5, 0, "round", -2},
        {-2.7, 0, "trunc", -2},
        {-4, 0, "abs", 4},
        {100, 0, "log", 2},
        {0, 0, "exp", 1},
        {0, 0, "sin", 0},
        {0, 0, "cos", 1},
        {0, 0, "arctan", 0},
        {1, 0, "ln", 0},
    };
    for (const auto& c : cases) {
        const Outcome out = wykonaj(c.v1, c.v2, c.symbol);
        ASSERT_TRUE(out.ok()) << c.symbol << " " << c.v1 << " " << c.v2;
        EXPECT_DOUBLE_EQ(out.value, c.expected) << c.symbol << " " << c.v1 << " " << c.v2;
        EXPECT_EQ(out.warning, Outcome::Warning::None) << c.symbol;
    }
}

TEST(OperationTable, WarningsStillGiveAValue) {
    const Outcome division = wykonaj(5, 0, "/");
    ASSERT_TRUE(division.ok());
    EXPECT_EQ(division.value, 1);
    EXPECT_EQ(division.warning, Outcome::Warning::DivisionByZero);
    const Outcome root = wykonaj(-9, 0, "sqrt");
    ASSERT_TRUE(root.ok());
    EXPECT_EQ(root.value, 3);
    EXPECT_EQ(root.warning, Outcome::Warning::NegativeRoot);
}

TEST(OperationTable, UnmetRequirementsGiveNothingSilently) {
    EXPECT_EQ(wykonaj(9, 1, "sqrt").status, Outcome::Status::NoResult);
    EXPECT_EQ(wykonaj(9, 1, "=").status, Outcome::Status::NoResult);
    EXPECT_EQ(wykonaj(9, 0, "potęga").status, Outcome::Status::NoResult);
    EXPECT_EQ(wykonaj(9, 0, ">").status, Outcome::Status::NoResult);
    EXPECT_EQ(wykonaj(3, 0, "liczba_warunków_reguły").status, Outcome::Status::NoResult);
}

TEST(OperationTable, ArithmeticHazardsAreErrorsNamingTheProblem) {
    const Case errors[] = {
        {7, 0, "div", 0},
        {7, 0.4, "mod", 0},
        {7, 0, "%", 0},
        {0, 0, "log", 0},
        {-1, 0, "ln", 0},
        {2, -1, "A^N", 0},
        {2, -1, "zaokrąglenie_do_N", 0},
        {3e9, 2, "div", 0},
        {2, 3e9, "A^N", 0},
        {1e308, 10, "*", 0},
        {1000, 0, "exp", 0},
        {10, 400, "zaokrąglenie_do_N", 0},
        // A value that is not finite passes no operation, choices and copies included.
        {kNaN, 0, "=", 0},
        {kInf, 0, "=", 0},
        {kNaN, 1, "min", 0},
        {1, kNaN, "min", 0},
        {kInf, 1, "max", 0},
        {1, kNaN, "max", 0},
        {kNaN, 0, "sqrt", 0},
        {-kInf, 0, "sqrt", 0},
    };
    for (const auto& c : errors) {
        const Outcome out = wykonaj(c.v1, c.v2, c.symbol);
        EXPECT_EQ(out.status, Outcome::Status::Error) << c.symbol << " " << c.v1 << " " << c.v2;
        EXPECT_FALSE(out.problem.empty());
    }
    for (const char* list_operation : {"min_list", "max_list"}) {
        for (const double odd : {kNaN, kInf, -kInf}) {
            EXPECT_EQ(wykonaj_r({1, odd, 2}, list_operation).problem,
                      "wynik nie jest liczbą skończoną")
                << list_operation << " " << odd;
        }
    }
    // The quotient of the smallest 32-bit integer by -1 does not overflow.
    const Outcome edge = wykonaj(-2147483648.0, -1, "div");
    ASSERT_TRUE(edge.ok());
    EXPECT_EQ(edge.value, 2147483648.0);
}

TEST(OperationTable, NearestRoundsHalvesAwayFromZeroWithin32Bits) {
    EXPECT_EQ(nearest(2.5), 3);
    EXPECT_EQ(nearest(-2.5), -3);
    EXPECT_EQ(nearest(2147483647.4), 2147483647);
    EXPECT_FALSE(nearest(2147483647.6));
    EXPECT_FALSE(nearest(std::numeric_limits<double>::quiet_NaN()));
}

TEST(OperationTable, LongPowersEndQuickly) {
    const Outcome one = wykonaj(-1, 2000000001, "A^N");
    ASSERT_TRUE(one.ok());
    EXPECT_EQ(one.value, -1);
    const Outcome small = wykonaj(0.5, 2000000000, "A^N");
    ASSERT_TRUE(small.ok());
    EXPECT_EQ(small.value, 0);
}

TEST(OperationTable, ExtendedLinearAndPolynomial) {
    EXPECT_EQ(wykonaj_r({}, "+").value, 0);
    EXPECT_EQ(wykonaj_r({}, "*").value, 1);
    EXPECT_EQ(wykonaj_r({}, "min_list").status, Outcome::Status::NoResult);
    EXPECT_EQ(wykonaj_r({3, 1, 2}, "min_list").value, 1);
    EXPECT_EQ(wykonaj_r({3, 1, 2}, "max_list").value, 3);
    EXPECT_EQ(wykonaj_r({3, 1, 2}, "*").value, 6);
    EXPECT_EQ(wykonaj_liniowy({2, 3}, {4, 5}).value, 23);
    EXPECT_EQ(wykonaj_liniowy({2, 3, 1}, {4, 5}).status, Outcome::Status::NoResult);
    EXPECT_EQ(wykonaj_wielomianowy({0, 1, 2}, {2, 0, 1}, 3).value, 11);
    EXPECT_EQ(wykonaj_wielomianowy({0, -1}, {2, 1}, 3).status, Outcome::Status::NoResult);
    EXPECT_EQ(wykonaj_wielomianowy({0, 1}, {2}, 3).status, Outcome::Status::NoResult);
}

TEST(OperationTable, Relations) {
    EXPECT_TRUE(relacja("<>", 3, 4));
    EXPECT_TRUE(relacja("><", 3, 4));
    EXPECT_FALSE(relacja("<>", 4, 4));
    EXPECT_TRUE(relacja("==", 4, 4));
    EXPECT_FALSE(relacja(">", 5, 7));
    EXPECT_TRUE(relacja(">=", 7, 7));
    EXPECT_TRUE(relacja("<=", 6, 7));
    EXPECT_TRUE(relacja_r("<=,<", 0, 0, 10));
    EXPECT_FALSE(relacja_r("<=,<", 0, 10, 10));
    EXPECT_TRUE(relacja_r("<,<=", 0, 10, 10));
    EXPECT_FALSE(relacja_r("<,<", 0, 0, 10));
    EXPECT_TRUE(relacja_r("<=,<=", 1, 1, 1));
    EXPECT_FALSE(relacja_r("<>", 1, 2, 3));
    EXPECT_EQ(split_extended_relation("<=,<").first, "<=");
    EXPECT_EQ(split_extended_relation("<=,<").second, "<");
}

// Whatever the load check accepts, the evaluator computes: a symbol added to the table without
// its arithmetic would load and then silently never apply.
TEST(OperationTable, EverySymbolAcceptedAtLoadIsEvaluated) {
    for (const ModelSymbol& entry : basic_model_symbols()) {
        ASSERT_TRUE(is_model_symbol(entry.text));
        switch (entry.role) {
            case SymbolRole::TwoArgument:
                EXPECT_TRUE(wykonaj(6, 0, entry.text).ok() || wykonaj(6, 3, entry.text).ok())
                    << entry.text;
                break;
            case SymbolRole::Function:
                EXPECT_TRUE(wykonaj(0.5, 0, entry.text).ok()) << entry.text;
                break;
            case SymbolRole::Relation: {
                // An unknown relation is false everywhere; a known one tells some pairs apart.
                const bool less = relacja(entry.text, 1, 2);
                const bool equal = relacja(entry.text, 1, 1);
                const bool greater = relacja(entry.text, 2, 1);
                EXPECT_FALSE(less == equal && equal == greater) << entry.text;
                break;
            }
            case SymbolRole::RuleConditionCount:
                // Counted from the rule base by the model evaluator, not by the table.
                EXPECT_EQ(entry.text, kRuleConditionCount);
                EXPECT_TRUE(is_function(entry.text));
                break;
            default:
                ADD_FAILURE() << entry.text << " is not a basic model's symbol";
        }
    }
    for (const ModelSymbol& entry : extended_model_symbols()) {
        ASSERT_TRUE(is_model_r_symbol(entry.text));
        if (entry.role == SymbolRole::ListArithmetic) {
            EXPECT_TRUE(wykonaj_r({1, 2, 3}, entry.text).ok()) << entry.text;
        } else {
            ASSERT_EQ(entry.role, SymbolRole::DoubleRelation) << entry.text;
            EXPECT_TRUE(relacja_r(entry.text, 1, 2, 3)) << entry.text;
            EXPECT_FALSE(relacja_r(entry.text, 3, 2, 1)) << entry.text;
        }
    }
    EXPECT_EQ(basic_model_symbols().size(), 31u);
    EXPECT_FALSE(is_model_symbol("min_list"));
    EXPECT_FALSE(is_model_r_symbol("-"));
}

}  // namespace
}  // namespace xamo
