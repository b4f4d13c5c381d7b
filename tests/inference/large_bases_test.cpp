// Large bases: chains of models of any length, through arguments or through application
// conditions, give the same answer in both directions of inference; a long cycle among models
// ends; a constraint of hundreds of thousands of members is taken at the start of a run.
#include <algorithm>
#include <string>
#include <vector>

#include "inference_fixture.h"

namespace xamo::testing {
namespace {

using Lines = std::vector<std::string>;

class LargeBases : public InferenceTest {
  protected:
    // Forward inference at the small detail level, asked questions answered in order.
    void forward(const Lines& answers) {
        ui.answers = {"1", "NIE", "2"};
        ui.answers.insert(ui.answers.end(), answers.begin(), answers.end());
        ui.answers.insert(ui.answers.end(), {"NIE", "Nie"});
        app.commands().enable({10148});
        app.run_command(10148);
        ui.expect_all_answers_used();
    }
    // Backward inference of the narrow hypothesis "h", the only one offered.
    void backward(const Lines& answers) {
        memory.clear_run();
        ui.answers = {"1", "NIE", "1", "1"};
        ui.answers.insert(ui.answers.end(), answers.begin(), answers.end());
        ui.answers.insert(ui.answers.end(), {"NIE", "Nie"});
        app.commands().enable({10149});
        app.run_command(10149);
        ui.expect_all_answers_used();
    }
    bool concluded_forward() const { return ui.output.find("\n    h\n") != std::string::npos; }
    bool proved_backward() const {
        return ui.output.find("Hipoteza w sensie wąskim: h\njest prawdą") != std::string::npos;
    }
};

constexpr int kModels = 100000;

// v_i = v_(i-1) + 1 under one application condition; h follows from v_N > 0.
TEST_F(LargeBases, ChainOfModelsThroughArgumentsInBothDirections) {
    for (const bool reversed : {false, true}) {
        store.remove_all(Kind::model);
        for (int k = 1; k <= kModels; ++k) {
            const int i = reversed ? kModels + 1 - k : k;
            store.add(model(i, "licz", numbered("v", i), numbered("v", i - 1), "+", "1", 0));
        }
        store.add(model(kModels + 1, "licz", "duzo", numbered("v", kModels), ">", "0", 0));
        rule(1, "h", {"duzo"}, 0);
        askable({"licz"});
        model_base({"v0"});
        forward({"Tak", "0"});
        EXPECT_TRUE(concluded_forward()) << reversed;
        EXPECT_EQ(memory.zmienna_ustalona.get(numbered("v", kModels)), kModels);
        ui.output.clear();
        backward({"Tak", "0"});
        EXPECT_TRUE(proved_backward()) << reversed;
        EXPECT_EQ(memory.zmienna_ustalona.get(numbered("v", kModels)), kModels);
        store.remove_all(Kind::regula);
    }
}

// Model i concludes r_i from x > 0 when r_(i-1) holds: backward inference verifies every
// application condition as a hypothesis inside the evaluation of the model above it.
TEST_F(LargeBases, ChainThroughApplicationConditionsInBothDirections) {
    for (int i = 1; i <= kModels; ++i)
        store.add(model(i, numbered("r", i - 1), numbered("r", i), "x", ">", "0", 0));
    rule(1, "h", {numbered("r", kModels)}, 0);
    askable({"r0"});
    model_base({"x"});
    forward({"Tak", "5"});
    EXPECT_TRUE(concluded_forward());
    ui.output.clear();
    backward({"Tak", "5"});
    EXPECT_TRUE(proved_backward());
    EXPECT_TRUE(memory.rbd_wstecz.established(numbered("r", kModels)));
}

// A cycle longer than any nesting: v_0 needs v_1200 needs ... needs v_0.
TEST_F(LargeBases, LongCycleAmongModelsEndsWithTheCycleNote) {
    constexpr int kLength = 1200;
    for (int i = 1; i <= kLength; ++i)
        store.add(model(i, "bez warunku", numbered("v", i), numbered("v", i - 1), "+", "1", 0));
    store.add(model(kLength + 1, "bez warunku", "v0", numbered("v", kLength), "+", "1", 0));
    rule(1, "h", {"x"}, 0);
    askable({"x"});
    model_base({});
    forward({"Tak"});
    EXPECT_FALSE(memory.zmienna_ustalona.has("v0"));
    const auto notes = ui.of_kind("note");
    const auto cycles = std::count_if(notes.begin(), notes.end(), [](const auto& e) {
        return e.text.starts_with("Cykl w bazie modeli");
    });
    EXPECT_GE(cycles, 1);
}

// One rule over every member of a constraint of 200,000 members, one member declared: both
// directions refute or negate the rule's conclusion at once (the time it takes is measured in
// bench/, not here).
TEST_F(LargeBases, HugeConstraintAtTheStartOfARun) {
    constexpr int kMembers = 200000;
    StringList members;
    for (int i = 1; i <= kMembers; ++i) members.push_back(numbered("a", i));
    rule(1, "h", members, 0);
    store.add(make_text_fact(Kind::fakt, "a5"));
    store.add(constraint(1, members));
    store.set_text(Kind::nazwa_og, "OGtest.BRD");
    askable(members);
    forward({});
    EXPECT_NE(ui.output.find("\n    nh\n"), std::string::npos);
    backward({});
    EXPECT_NE(ui.output.find("Hipoteza: h\njest nieprawdziwa"), std::string::npos);
    EXPECT_TRUE(memory.rbd_wstecz.established("na1"));
}

}  // namespace
}  // namespace xamo::testing
