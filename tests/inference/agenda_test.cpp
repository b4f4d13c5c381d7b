// The agenda of forward inference kept up to date as working memory changes (revisions,
// re-enabled rules, values removed by the data-error check), its ordered set, and the progress
// of a long run with "Przerwij".
#include "inference/agenda.h"

#include <random>
#include <set>

#include "app/inference_commands.h"
#include "inference/forward.h"
#include "inference/recording.h"
#include "inference_fixture.h"

namespace xamo::testing {
namespace {

using Lines = std::vector<std::string>;

TEST(IndexSet, FindsTheSmallestMemberFromAPositionAsASetDoes) {
    for (const std::size_t size : {std::size_t{1}, std::size_t{64}, std::size_t{65},
                                   std::size_t{4097}, std::size_t{300000}}) {
        IndexSet set(size);
        std::set<std::size_t> reference;
        std::mt19937 random(static_cast<unsigned>(size));
        for (int step = 0; step < 20000; ++step) {
            const std::size_t i = random() % size;
            if (random() % 3 == 0) {
                set.erase(i);
                reference.erase(i);
            } else {
                set.insert(i);
                reference.insert(i);
            }
            const std::size_t from = random() % (size + 1);
            const auto expected = reference.lower_bound(from);
            ASSERT_EQ(set.first_from(from),
                      expected == reference.end() ? IndexSet::npos : *expected)
                << "size " << size << ", step " << step;
            ASSERT_EQ(set.contains(i), reference.count(i) > 0);
        }
    }
}

class Agenda : public InferenceTest {
  protected:
    void SetUp() override {
        InferenceTest::SetUp();
        memory.szczegolowosc = "mała";
    }
    std::unique_ptr<InferenceContext> ctx_ = nullptr;
    InferenceContext& ctx() {
        if (!ctx_) ctx_ = std::make_unique<InferenceContext>(context());
        return *ctx_;
    }
};

// A rule waits while its first condition not yet true is unknown and not askable; a false or an
// askable condition before that makes it eligible; applying it takes it off until one of its
// conditions changes (revision re-enables it).
TEST_F(Agenda, RulesFollowTheirConditionsAndTheirMarks) {
    rule(1, "b", {"a", "x"});   // x askable, a derived
    rule(2, "c", {"b"});        // waits for b
    rule(3, "d", {"nb", "y"});  // waits for b or nb
    rule(4, "e", {"x", "b"});   // x askable first: eligible
    rule(0, "f", {"x"});        // numbered 0: never
    askable({"x", "y"});
    ForwardAgenda agenda(ctx());
    EXPECT_FALSE(agenda.rule_eligible(0));
    EXPECT_FALSE(agenda.rule_eligible(1));
    EXPECT_FALSE(agenda.rule_eligible(2));
    EXPECT_TRUE(agenda.rule_eligible(3));
    EXPECT_FALSE(agenda.rule_eligible(4));

    memory.rbd.add(0, "na");  // a false: rule 1 can conclude nb
    EXPECT_TRUE(agenda.rule_eligible(0));
    memory.regula_zastosowana.insert(1);
    zachowaj_wniosek(ctx(), 1, "nb");
    EXPECT_FALSE(agenda.rule_eligible(0));
    EXPECT_TRUE(agenda.rule_eligible(1));  // b is false now
    EXPECT_TRUE(agenda.rule_eligible(2));  // nb holds, y askable
    memory.regula_zastosowana.insert(2);
    memory.regula_zastosowana.insert(3);
    EXPECT_FALSE(agenda.rule_eligible(1));
    EXPECT_FALSE(agenda.rule_eligible(2));

    // Revision: a later rule concludes b; the negation goes and the rules using b come back.
    zachowaj_wniosek(ctx(), 7, "b");
    EXPECT_TRUE(agenda.rule_eligible(1));
    EXPECT_TRUE(agenda.rule_eligible(2));
    // Rule 1, which concluded nb, mentions neither b nor nb: it stays applied.
    EXPECT_FALSE(agenda.rule_eligible(0));

    // b withdrawn again by its own rule: rule 2 waits for b once more.
    memory.regula_zastosowana.insert(2);
    memory.rbd.remove(7, "b");
    memory.regula_zastosowana.erase(2);
    EXPECT_FALSE(agenda.rule_eligible(1));
}

// A rule goes on from the conditions it found true before; one of them no longer true (a
// revision) is seen wherever it stands, and a long rule whose conditions come true one by one
// waits until the last.
TEST_F(Agenda, RulesSeeEveryConditionThatStopsBeingTrue) {
    rule(1, "k", {"a", "b", "c"});
    StringList long_conditions;
    for (int i = 0; i < 1000; ++i) long_conditions.push_back(numbered("d", i));
    rule(2, "m", long_conditions);
    askable({});
    ForwardAgenda agenda(ctx());
    memory.rbd.add(3, "a");
    memory.rbd.add(4, "b");
    EXPECT_FALSE(agenda.rule_eligible(0));  // waits for c
    memory.rbd.remove(3, "a");
    memory.rbd.add(5, "na");
    EXPECT_TRUE(agenda.rule_eligible(0));  // a is false now: the negated conclusion follows
    memory.rbd.remove(5, "na");
    EXPECT_FALSE(agenda.rule_eligible(0));  // a unknown again
    memory.rbd.add(3, "a");
    memory.rbd.add(6, "c");
    EXPECT_TRUE(agenda.rule_eligible(0));

    for (int i = 0; i < 1000; ++i) {
        EXPECT_FALSE(agenda.rule_eligible(1)) << i;
        memory.rbd.add(7, numbered("d", i));
    }
    EXPECT_TRUE(agenda.rule_eligible(1));
    memory.rbd.remove(7, "d0");
    EXPECT_FALSE(agenda.rule_eligible(1));
    memory.rbd.add(8, "nd0");
    EXPECT_TRUE(agenda.rule_eligible(1));
}

// A condition written negated twice ("nnb") is the negation of "nb": it is false once "nb" is
// established and true once "nnb" is.
TEST_F(Agenda, NegationsOfNegatedConditions) {
    rule(1, "k", {"nnb"});
    askable({});
    ForwardAgenda agenda(ctx());
    EXPECT_FALSE(agenda.rule_eligible(0));
    memory.rbd.add(3, "nb");
    EXPECT_TRUE(agenda.rule_eligible(0));
    memory.rbd.remove(3, "nb");
    EXPECT_FALSE(agenda.rule_eligible(0));
    memory.rbd.add(3, "nnb");
    EXPECT_TRUE(agenda.rule_eligible(0));
}

// Models of each phase are offered while their application condition holds without a question,
// or would be asked, and they have not given their result yet.
TEST_F(Agenda, ModelsFollowTheirConditionsMarksAndValues) {
    askable({"pyt"});
    model_base({});
    store.add(model(1, "bez warunku", "y", "2", "+", "2"));
    store.add(model(2, "w", "y", "3", "+", "3"));
    store.add(model(3, "pyt", "z", "1", "+", "1"));
    store.add(model(4, "w", "alarm", "y", ">", "1"));
    ForwardAgenda agenda(ctx());
    std::size_t from = 0;
    EXPECT_EQ(agenda.next_model(ForwardAgenda::BasicArithmetic, from), &store.all(Kind::model)[0]);
    from = 1;
    // Model 2 waits for w; model 3 would be asked about pyt.
    EXPECT_EQ(agenda.next_model(ForwardAgenda::BasicArithmetic, from), &store.all(Kind::model)[2]);
    from = 0;
    EXPECT_EQ(agenda.next_model(ForwardAgenda::BasicRelation, from), nullptr);

    memory.rbd.add(5, "w");
    from = 0;
    EXPECT_EQ(agenda.next_model(ForwardAgenda::BasicRelation, from), &store.all(Kind::model)[3]);
    // y fixed: neither model computing it is offered; the value removed again (the data-error
    // check does that), the one not applied comes back.
    memory.zmienna_ustalona.set("y", 4);
    memory.model_stosowany.insert(1);
    from = 0;
    EXPECT_EQ(agenda.next_model(ForwardAgenda::BasicArithmetic, from), &store.all(Kind::model)[2]);
    memory.zmienna_ustalona.remove("y");
    from = 0;
    EXPECT_EQ(agenda.next_model(ForwardAgenda::BasicArithmetic, from), &store.all(Kind::model)[1]);
    // A relational model that recorded its conclusion, or was applied, is not offered.
    memory.rbd.add(4, "nalarm");
    from = 0;
    EXPECT_EQ(agenda.next_model(ForwardAgenda::BasicRelation, from), &store.all(Kind::model)[3]);
    memory.rbd.remove(4, "nalarm");
    memory.rbd.add(4, "alarm");
    from = 0;
    EXPECT_EQ(agenda.next_model(ForwardAgenda::BasicRelation, from), nullptr);
    // The application condition refuted: not offered.
    memory.rbd.remove(5, "w");
    memory.rbd.add(0, "nw");
    memory.zmienna_ustalona.remove("y");
    from = 0;
    EXPECT_EQ(agenda.next_model(ForwardAgenda::BasicArithmetic, from), &store.all(Kind::model)[2]);
}

// The user who presses "Przerwij" in the progress of a long run.
class Interrupting : public ScriptedInteraction {
  public:
    int interruptions = 1;
    int shown = 0;
    void begin_progress(const std::string& title, const std::string& text) override {
        ++shown;
        events.push_back({"progress", title, text, {}});
    }
    bool progress_continues() override {
        if (interruptions == 0) return true;
        --interruptions;
        return false;
    }
};

TEST(RunProgress, PrzerwijAsksAsZakonczDoes) {
    for (const std::string answer : {"Nie", "Tak"}) {
        Interrupting ui;
        Application app(ui);
        FactStore& store = app.store();
        store.set_text(Kind::nazwa_re, "REtest.BRD");
        store.set_text(Kind::wyroznik, "test");
        store.add(make_text_fact(Kind::fakt, "c0"));
        for (int i = 1; i <= 50; ++i)
            store.add(make_rule(i, numbered("c", i), {numbered("c", i - 1)}, 0));
        app.askable().lista_warunkow_dopytywalnych = StringList{"c0"};
        ui.answers = {"1", "NIE", "2", answer};
        if (answer == "Nie") ui.answers.insert(ui.answers.end(), {"NIE", "Nie"});
        bool quit = false;
        try {
            run_inference_command(app, "W_PRZOD", [](InferenceContext& ctx) {
                ctx.progress_delay = std::chrono::milliseconds(0);
                ForwardInference(ctx).run();
            });
        } catch (const QuitRequested&) {
            quit = true;
        }
        EXPECT_GE(ui.shown, 1);
        EXPECT_EQ(ui.of_kind("progress").front().title, "Wnioskowanie rozwinięte dokładne w przód");
        const auto asked = ui.of_kind("confirm");
        ASSERT_FALSE(asked.empty());
        EXPECT_EQ(asked.front().text, "Czy na pewno chcesz zakończyć program ?");
        // "Nie" goes on to the end of the run; "Tak" ends it as "Zakończ" does.
        EXPECT_EQ(quit, answer == "Tak");
        EXPECT_EQ(app.inference().regula_zastosowana.size(), answer == "Tak" ? 1u : 50u);
    }
}

}  // namespace
}  // namespace xamo::testing
