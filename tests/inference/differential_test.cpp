// The agenda against the plain restart scan, and the indexed backward search against a scan of
// the bases: thousands of generated knowledge bases (chains, wide bases, trees, negations,
// revisions, constraints, models of every kind), each run by both with the questions answered
// by one seeded random script; the whole transcripts must be equal line for line.
//
// XAMO_DIFFERENTIAL_CASES=N runs N bases of each kind (the default keeps the test well under a
// minute); XAMO_DIFFERENTIAL_SEED=S starts from another seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/inference_commands.h"
#include "askable/askable.h"
#include "inference/backward_command.h"
#include "inference/forward.h"
#include "kb/conditions.h"
#include "kb/facts.h"

namespace xamo::testing {
namespace {

// Answers every dialog from a seeded generator and writes everything it is shown, with the
// answers, into one transcript.
class RandomAnswers : public UserInteraction {
  public:
    explicit RandomAnswers(std::uint64_t seed) : random_(seed) {}

    std::string transcript;

    void note(const std::string& title, const std::string& text) override {
        event("note", title, text);
    }
    int ask(const std::string& title, const std::string& text,
            const std::vector<std::string>& buttons) override {
        event("ask", title, text, buttons);
        int chosen = pick(static_cast<int>(buttons.size())) + 1;
        // No summary or report files; few labels.
        if (title == "Plik podsumowania" || title == "Raport wnioskowania/diagnostyki" ||
            title == "Następna etykieta?") {
            chosen = static_cast<int>(buttons.size());
        }
        answer(std::to_string(chosen));
        return chosen;
    }
    bool confirm(const std::string& title, const std::string& text) override {
        event("confirm", title, text);
        const bool yes = pick(2) == 0;
        answer(yes ? "Tak" : "Nie");
        return yes;
    }
    std::optional<std::string> choose_file_to_open(const std::string& title,
                                                   const std::vector<FileFilter>&,
                                                   const std::string&) override {
        event("open", title, "");
        return std::nullopt;
    }
    std::optional<std::string> choose_file_to_save(const std::string& title,
                                                   const std::vector<FileFilter>&,
                                                   const std::string&) override {
        event("save", title, "");
        return std::nullopt;
    }
    std::optional<std::string> enter_text(const std::string& title, const std::string& prompt,
                                          const std::string&) override {
        event("text", title, prompt);
        const std::string label = "etykieta " + std::to_string(pick(100));
        answer(label);
        return label;
    }
    std::vector<int> choose_from_list(const std::string& title, const std::string& prompt,
                                      const std::vector<std::string>& items,
                                      bool multiple) override {
        event(multiple ? "list many" : "list", title, prompt, items);
        std::vector<int> chosen;
        if (multiple) {
            for (int i = 0; i < static_cast<int>(items.size()); ++i) {
                if (pick(2) == 0) chosen.push_back(i);
            }
        } else if (!items.empty()) {
            chosen.push_back(pick(static_cast<int>(items.size())));
        }
        std::string text;
        for (int i : chosen) text += std::to_string(i + 1) + " ";
        answer(text);
        return chosen;
    }
    std::optional<std::string> enter_value(const std::string& title,
                                           const std::string& name) override {
        event("value", title, name);
        const int kind = pick(20);
        std::optional<std::string> typed;
        if (kind == 0) {
            typed = std::nullopt;
        } else if (kind == 1) {
            typed = "dużo";
        } else if (kind == 2) {
            typed = "2,5";
        } else {
            typed = std::to_string(pick(16) - 4);
        }
        answer(typed.value_or("(anuluj)"));
        return typed;
    }
    void explain(const std::string& title, const std::vector<std::string>& lines) override {
        event("explanation", title, "", lines);
    }
    int choose_option(const RadioDialog& dialog) override {
        event("option", dialog.title, dialog.prompt, dialog.options);
        const int chosen = pick(static_cast<int>(dialog.options.size())) + 1;
        answer(std::to_string(chosen));
        return chosen;
    }
    std::optional<int> choose_from_dropdown(const DropDownDialog& dialog) override {
        event("dropdown", dialog.title, dialog.prompt, dialog.items);
        return std::nullopt;
    }
    void show_text(const std::string& title, const std::string& text) override {
        event("window", title, text);
    }
    void show_picture(const std::string& title, const std::string& path) override {
        event("picture", title, path);
    }
    bool show_picture_dialog(const std::string& path) override {
        event("picture dialog", "", path);
        return false;
    }
    bool play_sound(const std::string& path) override {
        event("sound", "", path);
        return false;
    }
    void show_advice(const std::string& text) override { event("advice", "", text); }
    void show_description(const std::string& heading, const std::string& text) override {
        event("description", heading, text);
    }
    bool open_document(const std::string&) override { return false; }
    void open_editor(const std::string&) override {}
    void show_browse(const BrowseView&) override {}
    std::optional<int> select_item(const std::string&, const std::string&,
                                   const std::vector<std::string>&) override {
        return std::nullopt;
    }
    void set_main_title(const std::string& title) override { event("title", title, ""); }
    void clear_messages() override { transcript += "[clear]\n"; }

  protected:
    void write_message(const std::string& text) override { transcript += text; }

  private:
    int pick(int n) { return n <= 1 ? 0 : static_cast<int>(random_() % static_cast<unsigned>(n)); }
    void event(const char* kind, const std::string& title, const std::string& text,
               const std::vector<std::string>& items = {}) {
        transcript += "\n[" + std::string(kind) + "] " + title + " | " + text;
        for (const auto& item : items) transcript += "\n  " + item;
        transcript += '\n';
    }
    void answer(const std::string& text) { transcript += "-> " + text + '\n'; }

    std::mt19937_64 random_;
};

// --- generated knowledge bases ---------------------------------------------------------------

enum class Shape { Mixed, Chain, Wide, Tree, Revisions, Models };

class BaseGenerator {
  public:
    BaseGenerator(std::uint64_t seed, Shape shape) : random_(seed), shape_(shape) {}

    // Fills the store of `app` and computes its askable lists as the loads would.
    void fill(Application& app, UserInteraction& ui) {
        FactStore& store = app.store();
        store.set_text(Kind::nazwa_re, "REgen.BRD");
        store.set_text(Kind::wyroznik, "gen");
        askable_count_ = 2 + pick(6);
        derived_count_ = 2 + pick(12);
        switch (shape_) {
            case Shape::Chain:
                chain(store);
                break;
            case Shape::Wide:
                wide(store);
                break;
            case Shape::Tree:
                tree(store);
                break;
            default:
                mixed(store);
                break;
        }
        facts(store);
        const bool constraints = pick(3) == 0;
        if (constraints) constraint_base(store);
        const bool models = shape_ == Shape::Models || pick(4) == 0;
        if (models) model_base(store);
        AskableMemory& askable = app.askable();
        remember_askable(askable, ui, askable_conditions_of_rules(store, askable));
        if (models) {
            compute_model_lists(store, askable);
            askable_with_models(askable);
            askable_of_models(store, askable);
            write_display_lists(askable, ui, "REgen.BRD", "MOgen.BRD");
        }
    }

  private:
    int pick(int n) { return n <= 1 ? 0 : static_cast<int>(random_() % static_cast<unsigned>(n)); }
    bool chance(int percent) { return pick(100) < percent; }
    std::string askable_atom() { return "p" + std::to_string(pick(askable_count_)); }
    std::string derived_atom() { return "d" + std::to_string(pick(derived_count_)); }
    std::string maybe_negated(std::string atom, int percent) {
        return chance(percent) ? negacja(atom) : atom;
    }
    std::int32_t number(int i) {
        if (chance(2)) return 0;
        if (chance(2)) return 1 + pick(i + 1);  // a duplicate number now and then
        return i + 1;
    }
    void add_rule(FactStore& store, std::int32_t n, std::string conclusion, StringList conditions) {
        store.add(make_rule(n, std::move(conclusion), std::move(conditions), chance(60) ? 1 : 0));
    }
    std::string condition() {
        if (chance(55)) return maybe_negated(askable_atom(), 25);
        if (chance(3)) return std::string(kNoCondition);
        return maybe_negated(derived_atom(), 25);
    }
    std::string conclusion() {
        if (chance(3)) return std::string(kEnd);
        if (chance(2)) return "nkoniec";
        return maybe_negated(derived_atom(), shape_ == Shape::Revisions ? 45 : 15);
    }

    void mixed(FactStore& store) {
        const int rules = 1 + pick(shape_ == Shape::Revisions ? 30 : 22);
        for (int i = 0; i < rules; ++i) {
            StringList conditions;
            const int count = 1 + pick(4);
            for (int c = 0; c < count; ++c) conditions.push_back(condition());
            add_rule(store, number(i), conclusion(), conditions);
        }
    }
    // A chain d0 <- d1 <- ... in order, reversed or shuffled, with askable side conditions.
    void chain(FactStore& store) {
        const int length = 2 + pick(30);
        derived_count_ = length + 1;
        std::vector<int> order(static_cast<std::size_t>(length));
        for (int i = 0; i < length; ++i) order[static_cast<std::size_t>(i)] = i;
        if (chance(50)) {
            std::reverse(order.begin(), order.end());
        } else if (chance(50)) {
            std::shuffle(order.begin(), order.end(), random_);
        }
        for (int i : order) {
            StringList conditions{i == 0 ? askable_atom() : "d" + std::to_string(i - 1)};
            if (chance(40)) conditions.push_back(maybe_negated(askable_atom(), 20));
            if (chance(15)) std::swap(conditions.front(), conditions.back());
            add_rule(store, number(i), maybe_negated("d" + std::to_string(i), 10), conditions);
        }
    }
    // Independent rules over askable conditions only.
    void wide(FactStore& store) {
        askable_count_ = 4 + pick(10);
        const int rules = 1 + pick(25);
        for (int i = 0; i < rules; ++i) {
            StringList conditions;
            const int count = 1 + pick(3);
            for (int c = 0; c < count; ++c) conditions.push_back(maybe_negated(askable_atom(), 20));
            add_rule(store, number(i), "d" + std::to_string(i), conditions);
        }
        derived_count_ = rules;
    }
    // Each derived atom from two of higher index (a tree listed root first or last).
    void tree(FactStore& store) {
        const int nodes = 3 + pick(14);
        derived_count_ = nodes;
        std::vector<std::pair<int, StringList>> rules;
        for (int i = 0; i < nodes; ++i) {
            StringList conditions;
            for (int child : {2 * i + 1, 2 * i + 2}) {
                conditions.push_back(child < nodes ? maybe_negated("d" + std::to_string(child), 20)
                                                   : maybe_negated(askable_atom(), 20));
            }
            rules.emplace_back(i, conditions);
            if (chance(20)) rules.emplace_back(i, StringList{maybe_negated(askable_atom(), 30)});
        }
        if (chance(50)) std::reverse(rules.begin(), rules.end());
        int n = 0;
        for (auto& [i, conditions] : rules)
            add_rule(store, number(n++), "d" + std::to_string(i), conditions);
    }
    void facts(FactStore& store) {
        const int count = pick(4);
        for (int i = 0; i < count; ++i) {
            store.add(make_text_fact(
                Kind::fakt, chance(80) ? maybe_negated(askable_atom(), 15) : derived_atom()));
        }
        if (chance(10)) store.add(make_rule(0, askable_atom(), {std::string(kNoCondition)}, 1));
    }
    void constraint_base(FactStore& store) {
        store.set_text(Kind::nazwa_og, "OGgen.BRD");
        const int count = 1 + pick(3);
        for (int i = 0; i < count; ++i) {
            StringList members;
            const int size = 2 + pick(3);
            for (int m = 0; m < size; ++m) members.push_back(askable_atom());
            store.add(Fact{Kind::ograniczenie, {std::int32_t{i + 1}, members}});
        }
    }

    std::string variable() { return "x" + std::to_string(pick(5)); }
    std::string result() { return "y" + std::to_string(pick(6)); }
    std::string operand() {
        if (chance(30)) return std::to_string(pick(9) - 2);
        if (chance(15)) return "2.5";
        return chance(50) ? variable() : result();
    }
    std::string application_condition() {
        if (chance(40)) return std::string(kNoCondition);
        if (chance(50)) return maybe_negated(askable_atom(), 25);
        return maybe_negated(chance(50) ? derived_atom() : relational_atom(), 20);
    }
    std::string relational_atom() { return "r" + std::to_string(pick(3)); }
    StringList operands(int count) {
        StringList list;
        for (int i = 0; i < count; ++i) list.push_back(operand());
        return list;
    }
    void model_base(FactStore& store) {
        store.set_text(Kind::nazwa_mo, "MOgen.BRD");
        static const char* const kBasic[] = {
            "+", "-",   "*", "/",    "div", "mod", "min",   "max",
            "%", "A^N", "=", "sqrt", "abs", "ln",  "round", "zaokrąglenie_do_N"};
        static const char* const kRelations[] = {">", "==", "<", ">=", "<=", "><", "<>"};
        static const char* const kExtended[] = {"+", "*", "min_list", "max_list"};
        static const char* const kExtendedRelations[] = {"<,<", "<=,<", "<,<=", "<=,<="};
        const int count = 1 + pick(shape_ == Shape::Models ? 14 : 8);
        for (int i = 0; i < count; ++i) {
            const std::int32_t n = 100 + (chance(3) ? pick(i + 1) : i);
            const std::int32_t display = chance(60) ? 1 : 0;
            const std::string w = application_condition();
            switch (pick(9)) {
                case 0:
                case 1: {
                    const std::string symbol = kBasic[pick(16)];
                    const bool function = symbol == "=" || symbol == "sqrt" || symbol == "abs" ||
                                          symbol == "ln" || symbol == "round";
                    store.add(
                        Fact{Kind::model,
                             {n, w, result(), operand(), symbol,
                              function && chance(85) ? std::string("0") : operand(), display}});
                    break;
                }
                case 2:
                    store.add(Fact{Kind::model,
                                   {n, w, maybe_negated(relational_atom(), 20), operand(),
                                    std::string(kRelations[pick(7)]), operand(), display}});
                    break;
                case 3:
                    store.add(Fact{Kind::model_r,
                                   {n, w, result(), std::string(kExtended[pick(4)]),
                                    operands(pick(4)), display}});
                    break;
                case 4:
                    store.add(Fact{Kind::model_r,
                                   {n, w, maybe_negated(relational_atom(), 20),
                                    std::string(kExtendedRelations[pick(4)]),
                                    operands(chance(85) ? 3 : 2), display}});
                    break;
                case 5: {
                    const int terms = 1 + pick(3);
                    store.add(Fact{Kind::model_liniowy,
                                   {n, w, result(), operands(terms), operands(terms), display}});
                    break;
                }
                case 6: {
                    const int terms = 1 + pick(3);
                    IntegerList powers;
                    for (int t = 0; t < terms; ++t) powers.push_back(pick(3));
                    store.add(Fact{Kind::model_wielomianowy,
                                   {n, w, result(), operand(), operands(terms), powers, display}});
                    break;
                }
                case 7:
                    // A grade, a data-error model, or the condition count of a rule.
                    if (chance(40)) {
                        store.add(Fact{Kind::model,
                                       {n, w, result(), std::string("Ocena_") + relational_atom(),
                                        std::string("="), std::string("0"), std::int32_t{1}}});
                    } else if (chance(60)) {
                        store.add(Fact{Kind::model,
                                       {n, w, std::string("Pomyłka we wprowadzonych danych"),
                                        chance(50) ? variable() : result(),
                                        std::string(chance(50) ? "<" : ">"),
                                        std::to_string(pick(12)), display}});
                    } else {
                        store.add(Fact{
                            Kind::model,
                            {n, w, result(), std::to_string(pick(4)),
                             std::string("liczba_warunków_reguły"), std::string("0"), display}});
                    }
                    break;
                default:
                    // A chain of models, listed in either order.
                    for (int k = 0; k < 3; ++k) {
                        store.add(Fact{
                            Kind::model,
                            {n * 10 + k, w, "z" + std::to_string(k + 1), "z" + std::to_string(k),
                             std::string("+"), std::string("1"), display}});
                    }
                    break;
            }
        }
        if (chance(50)) store.add(Fact{Kind::argument_znany, {variable(), double(pick(10))}});
        if (chance(30)) store.add(Fact{Kind::argument_znany, {std::string("z0"), 1.0}});
        if (chance(20)) store.add(make_text_fact(Kind::m_fakt, askable_atom()));
        // Rules that use what the models conclude.
        if (chance(60)) {
            store.add(make_rule(90, "d" + std::to_string(pick(derived_count_)),
                                {maybe_negated(relational_atom(), 25), condition()},
                                chance(50) ? 1 : 0));
        }
    }

    std::mt19937_64 random_;
    Shape shape_;
    int askable_count_ = 3;
    int derived_count_ = 3;
};

// --- runs ----------------------------------------------------------------------------------------

struct Outcome {
    std::string transcript;
    std::string memory;
};

std::string memory_dump(Application& app) {
    std::ostringstream out;
    const InferenceMemory& memory = app.inference();
    for (const auto& [n, c] : memory.rbd) out << "rbd " << n << " " << c << "\n";
    for (const auto& c : memory.rbd_wstecz) out << "rbd_wstecz " << c << "\n";
    for (const auto& [name, value] : memory.zmienna_ustalona)
        out << "zmienna " << name << " " << value << "\n";
    for (std::int32_t n : memory.model_stosowany) out << "model " << n << "\n";
    out << "reguly " << memory.regula_zastosowana.size() << "\n";
    for (const Fact& c : app.store().all(Kind::ograniczenie))
        out << list_text(Constraint(c).members());
    if (const Name* report = app.report().text()) out << "\nraport:\n" << *report;
    return out.str();
}

template <typename Run>
Outcome run_case(std::uint64_t seed, Shape shape, const Run& run) {
    RandomAnswers ui(seed * 7919 + 1);
    Application app(ui);
    BaseGenerator(seed, shape).fill(app, ui);
    ui.transcript.clear();
    try {
        run(app);
    } catch (const QuitRequested&) {
        ui.transcript += "[quit]\n";
    }
    return {ui.transcript, memory_dump(app)};
}

Outcome forward(std::uint64_t seed, Shape shape, ForwardInference::Scan scan) {
    return run_case(seed, shape, [scan](Application& app) {
        run_inference_command(app, "W_PRZOD", [scan](InferenceContext& ctx) {
            ForwardInference engine(ctx);
            engine.scan = scan;
            engine.run();
        });
    });
}

Outcome backward(std::uint64_t seed, Shape shape, BackwardEngine::Search search) {
    return run_case(seed, shape, [search](Application& app) {
        run_inference_command(app, "WSTECZ", [search](InferenceContext& ctx) {
            BackwardInference engine(ctx);
            engine.search = search;
            engine.run();
        });
    });
}

// The first line where two transcripts differ, with a few lines before it.
std::string first_difference(const std::string& a, const std::string& b) {
    std::istringstream left(a);
    std::istringstream right(b);
    std::vector<std::string> before;
    std::string x;
    std::string y;
    for (int line = 1;; ++line) {
        const bool more_left = static_cast<bool>(std::getline(left, x));
        const bool more_right = static_cast<bool>(std::getline(right, y));
        if (!more_left && !more_right) return "no difference";
        if (!more_left || !more_right || x != y) {
            std::string text = "line " + std::to_string(line) + ":\n";
            for (const auto& b_line : before) text += "    " + b_line + "\n";
            return text + "  agenda:    " + (more_left ? x : "(end)") +
                   "\n  reference: " + (more_right ? y : "(end)");
        }
        before.push_back(x);
        if (before.size() > 6) before.erase(before.begin());
    }
}

long cases_per_shape() {
    if (const char* text = std::getenv("XAMO_DIFFERENTIAL_CASES")) return std::atol(text);
    return 400;
}

std::uint64_t first_seed() {
    if (const char* text = std::getenv("XAMO_DIFFERENTIAL_SEED"))
        return std::strtoull(text, nullptr, 10);
    return 1;
}

constexpr Shape kShapes[] = {Shape::Mixed, Shape::Chain,     Shape::Wide,
                             Shape::Tree,  Shape::Revisions, Shape::Models};

TEST(Differential, AgendaFiresWhatTheRestartScanFires) {
    std::size_t questions = 0;
    std::size_t firings = 0;
    for (const Shape shape : kShapes) {
        for (long i = 0; i < cases_per_shape(); ++i) {
            const std::uint64_t seed = first_seed() + static_cast<std::uint64_t>(i);
            const Outcome agenda = forward(seed, shape, ForwardInference::Scan::Agenda);
            const Outcome reference = forward(seed, shape, ForwardInference::Scan::Restart);
            ASSERT_TRUE(agenda.transcript == reference.transcript)
                << "shape " << static_cast<int>(shape) << ", seed " << seed << ", "
                << first_difference(agenda.transcript, reference.transcript);
            ASSERT_TRUE(agenda.memory == reference.memory)
                << "shape " << static_cast<int>(shape) << ", seed " << seed;
            for (std::size_t at = 0;
                 (at = agenda.transcript.find("[confirm]", at)) != std::string::npos; ++at)
                ++questions;
            for (std::size_t at = 0;
                 (at = agenda.transcript.find("Stosuję", at)) != std::string::npos; ++at)
                ++firings;
        }
    }
    // The bases are not trivial: the runs asked and fired a lot.
    EXPECT_GT(questions, static_cast<std::size_t>(cases_per_shape()));
    EXPECT_GT(firings, static_cast<std::size_t>(cases_per_shape()));
}

TEST(Differential, IndexedBackwardSearchFindsWhatTheScanFinds) {
    for (const Shape shape : kShapes) {
        for (long i = 0; i < cases_per_shape() / 2; ++i) {
            const std::uint64_t seed = first_seed() + static_cast<std::uint64_t>(i);
            const Outcome indexed = backward(seed, shape, BackwardEngine::Search::Indexed);
            const Outcome scanned = backward(seed, shape, BackwardEngine::Search::Scan);
            ASSERT_TRUE(indexed.transcript == scanned.transcript)
                << "shape " << static_cast<int>(shape) << ", seed " << seed << ", "
                << first_difference(indexed.transcript, scanned.transcript);
            ASSERT_TRUE(indexed.memory == scanned.memory)
                << "shape " << static_cast<int>(shape) << ", seed " << seed;
        }
    }
}

}  // namespace
}  // namespace xamo::testing
