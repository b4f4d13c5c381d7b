#include "inference/why_not.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

#include "inference/models.h"
#include "kb/conditions.h"
#include "kb/numbers.h"
#include "kb/operations.h"

namespace xamo {
namespace {

// Every text of the command, in one place. Names and numbers are joined to them by `cat`.
struct Texts {
    const char* list_title = "Dlaczego nie?";
    const char* list_prompt = "Wybierz warunek, który nie został wywnioskowany:";
    const char* nothing_left = "Wszystkie wnioski reguł i modeli zostały wywnioskowane.";
    const char* no_run = "Najpierw przeprowadź wnioskowanie w przód lub wstecz.";
    const char* dialog_title = "Dlaczego nie: ";

    const char* open_quote = "„";
    const char* close_quote = "”";
    const char* headline = "Warunek ";
    const char* headline_false = " nie został wywnioskowany: jest fałszywy.";
    const char* headline_unknown = " nie został wywnioskowany ani zaprzeczony.";

    const char* rule = "Reguła ";
    const char* model = "Model ";
    const char* colon = ": ";
    const char* if_ = "jeżeli ";
    const char* then = " to ";
    const char* when = ", gdy ";
    const char* list_separator = ", ";

    const char* condition = "warunek ";
    const char* application_condition = "warunek stosowania ";
    const char* is_false = " jest fałszywy (";
    const char* answered_no = "odpowiedź: nie";
    const char* question = "pytanie ";  // + „q?” + answer + „c” + holds
    const char* answer = ", odpowiedź: ";
    const char* yes = "tak";
    const char* so = ", więc ";
    const char* holds = " jest prawdą";
    const char* declared = "zadeklarowany fakt ";
    const char* by_constraint = "wykluczony przez ograniczenie ";  // + number + in_which
    const char* in_which = ", w którym ";                          // + cause + „member”
    // By Choice::Cause.
    const char* causes[4] = {"zadeklarowano ", "wybrano ", "potwierdzono ", "wywnioskowano "};
    const char* chosen_from = " wybrany z ograniczenia ";
    const char* chosen_in_menu = " wybrany w menu faktów";
    const char* not_chosen = "niewybrany w menu faktów";
    const char* by_rule = "reguła ";
    const char* rule_concluded = " wywnioskowała ";
    const char* by_model = "model ";
    const char* model_concluded = " wywnioskował ";
    const char* concluded = "wywnioskowano ";
    const char* closing = ")";

    const char* not_asked = " nie został zapytany: ";
    const char* undecided = " nie został rozstrzygnięty: ";
    const char* not_concluded =
        "nie jest dopytywalny i nie wywnioskowała go żadna zastosowana reguła ani model";
    const char* concluded_by_nothing =
        "nie jest dopytywalny i nie wynika z żadnej reguły ani modelu";
    const char* cycle = "zależy od samego siebie (cykl reguł)";
    const char* explained_above = " nie został rozstrzygnięty (wyjaśnienie wyżej)";
    const char* too_deep = "dalszych przyczyn nie pokazano (ponad ";
    const char* too_deep_end = " poziomów reguł)";

    const char* stopped = "; pierwszy niespełniony w kolejności wnioskowania";
    const char* stopped_before = "reguła nie spełnia wcześniejszego warunku";
    const char* ended_by_rule = " z wnioskiem „koniec” zakończyła wnioskowanie";  // Reguła n
    const char* before_hypothesis = ", zanim hipoteza ";  // + „h” + was_tested
    const char* was_tested = " była testowana";
    const char* full_stop = ".";

    const char* rule_zero = "reguła 0 nigdy nie jest stosowana";
    const char* all_hold = "wszystkie warunki są spełnione, lecz ";
    const char* wrong_arity =
        "model nigdy nie jest stosowany: jego relacja wymaga trzech argumentów";
    const char* model_failed = "model nie został zastosowany: jego obliczenie nie powiodło się";
    const char* argument = "argument ";
    const char* no_value_asked = " nie ma wartości: nie został podany";
    const char* no_value_computed = " nie ma wartości: nie obliczył jej żaden model";
    const char* relation_false = "relacja nie jest spełniona: ";
    const char* relation_true = "relacja jest spełniona: ";
    const char* but = ", lecz ";

    // Why the run did not get as far as a condition, a rule or a model.
    const char* forward_ended[3] = {
        "wnioskowanie zakończyło się, zanim był potrzebny",
        "wnioskowanie zakończyło się, zanim reguła została zastosowana",
        "wnioskowanie zakończyło się, zanim model został zastosowany",
    };
    const char* ended_by_koniec[3] = {
        "wniosek „koniec” zakończył wnioskowanie, zanim był potrzebny",
        "wniosek „koniec” zakończył wnioskowanie, zanim reguła została zastosowana",
        "wniosek „koniec” zakończył wnioskowanie, zanim model został zastosowany",
    };
    const char* not_needed[3] = {
        "nie był potrzebny do sprawdzenia hipotezy",
        "reguła nie była potrzebna do sprawdzenia hipotezy",
        "model nie był potrzebny do sprawdzenia hipotezy",
    };
};

const Texts kTexts;

// Joins pieces by appending (GCC 12 at -O3 warns falsely on "literal" + std::string).
std::string cat(std::initializer_list<std::string_view> pieces) {
    std::string text;
    for (std::string_view piece : pieces) text += piece;
    return text;
}

std::string quoted(std::string_view name) {
    return cat({kTexts.open_quote, name, kTexts.close_quote});
}

std::string indent(std::size_t depth) { return std::string(4 * depth, ' '); }

std::string joined(const StringList& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) text += kTexts.list_separator;
        text += items[i];
    }
    return text;
}

const std::vector<const Fact*> kNone;

bool relation_holds(const Fact& model, const std::vector<double>& v) {
    if (model.kind == Kind::model) return relacja(Model(model).symbol(), v[0], v[1]);
    return relacja_r(ModelR(model).symbol(), v[0], v[1], v[2]);
}

}  // namespace

// --- the record of the run -----------------------------------------------------------------------

namespace {

// Everything the explanation reads, as the run left it.
void record_run(WhyNotMemory& record, const InferenceContext& ctx, RunDirection direction) {
    record.clear();
    record.direction = direction;
    const FactStore& store = ctx.store;
    record.rules = store.share(Kind::regula);
    for (Kind kind : {Kind::model, Kind::model_r}) {
        for (const Fact& model : store.all(kind)) {
            if (is_relational(model)) record.relational_models.push_back(model);
        }
    }
    for (Kind kind : {Kind::fakt, Kind::m_fakt}) record.declared.push_back(store.share(kind));
    const InferenceMemory& memory = ctx.memory;
    record.rbd = memory.final_rbd->empty() ? std::make_shared<const WorkingMemory>(memory.rbd)
                                           : memory.final_rbd;
    record.rbd_wstecz = memory.rbd_wstecz;
    for (const auto& [name, value] : memory.zmienna_ustalona) record.values.emplace(name, value);
    record.applied_models.insert(memory.model_stosowany.begin(), memory.model_stosowany.end());
    record.failed_models.insert(memory.model_bledny.begin(), memory.model_bledny.end());
    record.choices = memory.choices;
    record.answers = memory.answers;
    const AskableMemory& askable = ctx.askable;
    record.askable = ctx.model_base_loaded() ? askable.lista_warunkow_i_argumentow_dopytywalnych
                                             : askable.lista_warunkow_dopytywalnych;
    record.askable_joint = askable.lista_warunkow_i_argumentow_dopytywalnych;
    record.askable_arguments = askable.lista_argumentow_dopytywalnych;
}

}  // namespace

void record_forward_run(WhyNotMemory& record, const InferenceContext& ctx) {
    record_run(record, ctx, RunDirection::Forward);
}

void record_backward_run(WhyNotMemory& record, const InferenceContext& ctx,
                         const BackwardMemory& backward) {
    record_run(record, ctx, RunDirection::Backward);
    // A proved condition was established as verified; a refuted one by its negation.
    for (const auto& [number, c] : backward.numer_prawda) record.decided_by.emplace(c, number);
    for (const auto& [number, c] : backward.numer_nieprawda)
        record.decided_by.emplace(negacja(c), number);
    record.hypothesis = backward.hypothesis;
    record.end_rule = backward.end_rule;
}

// --- indexes -------------------------------------------------------------------------------------

struct WhyNot::Step {
    enum class What { Item, Condition, Leave };
    What what = What::Item;
    const Fact* item = nullptr;  // Item: a rule or relational model explained at `depth`
    std::string text;  // Condition: a condition of a rule; Leave: the one whose explanation ends
    std::size_t depth = 0;
    bool stopped = false;  // the run stopped the rule at this condition
    bool later = false;    // a condition after that one, which the run never came to

    static Step of_item(const Fact* item, std::size_t depth) {
        return {What::Item, item, {}, depth};
    }
    static Step of_condition(const std::string& c, std::size_t depth, bool stopped, bool later) {
        return {What::Condition, nullptr, c, depth, stopped, later};
    }
    static Step leaving(const std::string& p) { return {What::Leave, nullptr, p}; }
};

struct WhyNot::Walk {
    std::vector<std::string> lines;
    Stack stack;
    std::unordered_set<std::string> on_path;   // positive forms being explained, top to here
    std::unordered_set<std::string> expanded;  // positive forms explained somewhere already

    void line(std::size_t depth, const std::string& text) { lines.push_back(indent(depth) + text); }
};

WhyNot::WhyNot(const WhyNotMemory& record)
    : record_(record), forward_(record.direction != RunDirection::Backward) {
    for (const Fact& rule : *record_.rules) {
        items_.push_back(&rule);
        rules_by_number_.emplace(Rule(rule).number(), &rule);
    }
    for (const Fact& model : record_.relational_models) {
        items_.push_back(&model);
        models_by_number_.emplace(AnyModel(model).number(), &model);
    }
    for (const Fact* item : items_) {
        const Name& k =
            item->kind == Kind::regula ? Rule(*item).conclusion() : AnyModel(*item).result();
        concluders_[positive_form(k)].push_back(item);
    }
    if (forward_) {
        for (const auto& [number, c] : *record_.rbd) {
            if (number != 0) derived_.emplace(c, number);
        }
    }
    for (const auto& facts : record_.declared) {
        for (const Fact& fact : *facts) declared_.insert(TextFact(fact).text().str());
    }
    askable_.insert(record_.askable.begin(), record_.askable.end());
    askable_joint_.insert(record_.askable_joint.begin(), record_.askable_joint.end());
    askable_arguments_.insert(record_.askable_arguments.begin(), record_.askable_arguments.end());
}

const std::vector<const Fact*>& WhyNot::concluders(const std::string& c) const {
    const auto it = concluders_.find(positive_form(c));
    return it == concluders_.end() ? kNone : it->second;
}

// Forward: as the rule test reads working memory. Backward: the positive form decides first, as
// the verification does, and an answer about an application condition counts too.
WhyNot::Truth WhyNot::truth(const std::string& c) const {
    if (c == kNoCondition) return Truth::True;
    const std::string negation = negacja(c);
    if (forward_) {
        if (record_.rbd->established(c)) return Truth::True;
        if (record_.rbd->established(negation)) return Truth::False;
        return Truth::Unknown;
    }
    const std::string p = positive_form(c);
    const std::string not_p = negacja(p);
    const auto holds = [&](const std::string& x) {
        return record_.rbd_wstecz.established(x) || record_.rbd->has(0, x);
    };
    if (holds(p)) return p == c ? Truth::True : Truth::False;
    if (holds(not_p)) return not_p == c ? Truth::True : Truth::False;
    return Truth::Unknown;
}

std::optional<std::int32_t> WhyNot::deciding_number(const std::string& fact) const {
    const auto& numbers = forward_ ? derived_ : record_.decided_by;
    const auto it = numbers.find(fact);
    if (it == numbers.end()) return std::nullopt;
    return it->second;
}

std::optional<std::int32_t> WhyNot::end_rule() const {
    if (!forward_) return record_.end_rule;
    if (!established(std::string(kEnd))) return std::nullopt;
    return deciding_number(std::string(kEnd));
}

bool WhyNot::askable(const std::string& c, bool application) const {
    if (!application) return askable_.count(positive_form(c)) > 0;
    return askable_joint_.count(c) > 0 || askable_joint_.count(negacja(c)) > 0;
}

const char* WhyNot::unreached(Subject subject) const {
    const auto index = static_cast<std::size_t>(subject);
    if (established(std::string(kEnd))) return kTexts.ended_by_koniec[index];
    return forward_ ? kTexts.forward_ended[index] : kTexts.not_needed[index];
}

// --- candidates ----------------------------------------------------------------------------------

StringList WhyNot::candidates() const {
    StringList out;
    std::unordered_set<std::string> seen;
    for (const Fact* item : items_) {
        const Name& k =
            item->kind == Kind::regula ? Rule(*item).conclusion() : AnyModel(*item).result();
        if (k == kEnd || established(k.str()) || !seen.insert(k.str()).second) continue;
        out.push_back(k.str());
    }
    return out;
}

// --- the walk ------------------------------------------------------------------------------------

std::vector<std::string> WhyNot::explain(const std::string& condition) const {
    Walk walk;
    const bool is_false = truth(condition) == Truth::False;
    walk.lines.push_back(cat({kTexts.headline, quoted(condition),
                              is_false ? kTexts.headline_false : kTexts.headline_unknown}));
    // An undecided condition may owe it to "koniec" alone: that comes first.
    if (const auto rule = end_rule(); rule && !is_false) {
        std::string text = cat({kTexts.rule, std::to_string(*rule), kTexts.ended_by_rule});
        if (!forward_ && !record_.hypothesis.empty())
            text += cat({kTexts.before_hypothesis, quoted(record_.hypothesis), kTexts.was_tested});
        walk.lines.push_back(text + kTexts.full_stop);
    }
    const std::string top = positive_form(condition);
    walk.on_path.insert(top);
    walk.expanded.insert(top);
    const auto& items = concluders(condition);
    for (auto it = items.rbegin(); it != items.rend(); ++it)
        walk.stack.push_back(Step::of_item(*it, 0));
    while (!walk.stack.empty()) {
        const Step step = std::move(walk.stack.back());
        walk.stack.pop_back();
        explain_step(step, walk);
    }
    return std::move(walk.lines);
}

void WhyNot::explain_step(const Step& step, Walk& walk) const {
    if (step.what == Step::What::Condition) {
        explain_condition(step.text, false, step, walk);
    } else if (step.what == Step::What::Leave) {
        walk.on_path.erase(step.text);
    } else if (step.item->kind == Kind::regula) {
        explain_rule(*step.item, step.depth, walk);
    } else {
        explain_model(*step.item, step.depth, walk);
    }
}

void WhyNot::explain_rule(const Fact& rule, std::size_t depth, Walk& walk) const {
    const std::int32_t number = Rule(rule).number();
    walk.line(depth,
              cat({kTexts.rule, std::to_string(number), kTexts.colon, kTexts.if_,
                   joined(Rule(rule).conditions().texts()), kTexts.then, Rule(rule).conclusion()}));
    if (number == 0) {
        walk.line(depth + 1, kTexts.rule_zero);
        return;
    }
    // A rule concluding the chosen condition shows every condition that does not hold; deeper
    // rules only the one the run stopped at (the first, in the order both inferences test them).
    StringList failing;
    for (const std::string& c : Rule(rule).conditions().texts()) {
        // Backward verification never establishes "bez warunku" as a rule condition (only as an
        // application condition), so there it stays undecided.
        if (truth(c) == Truth::True && (forward_ || c != kNoCondition)) continue;
        failing.push_back(c);
        if (depth > 0) break;
    }
    if (failing.empty()) {
        walk.line(depth + 1, cat({kTexts.all_hold, unreached(Subject::Rule)}));
        return;
    }
    const bool mark = failing.size() > 1;
    for (std::size_t i = failing.size(); i-- > 0;) {
        walk.stack.push_back(Step::of_condition(failing[i], depth + 1, mark && i == 0, i > 0));
    }
}

void WhyNot::explain_model(const Fact& model, std::size_t depth, Walk& walk) const {
    const std::int32_t number = AnyModel(model).number();
    const Name& w = AnyModel(model).condition();
    const StringList arguments = relation_arguments(model);
    std::string head = cat({kTexts.model, std::to_string(number), kTexts.colon});
    if (w != kNoCondition) head += cat({kTexts.if_, w, kTexts.then});
    head += cat({AnyModel(model).result(), kTexts.when, relation_text(model, arguments)});
    walk.line(depth, head);
    if (model.kind == Kind::model_r && arguments.size() != 3) {
        walk.line(depth + 1, kTexts.wrong_arity);
        return;
    }
    if (truth(w.str()) != Truth::True) {
        explain_condition(w.str(), true, Step::of_condition(w.str(), depth + 1, false, false),
                          walk);
        return;
    }
    if (record_.failed_models.count(number) > 0) {
        walk.line(depth + 1, kTexts.model_failed);
        return;
    }
    std::vector<double> values;
    StringList shown;
    for (const auto& a : arguments) {
        auto value = constant_value(a);
        if (!value) {
            if (const auto it = record_.values.find(a); it != record_.values.end())
                value = it->second;
        }
        if (!value) {
            const bool asked = askable_arguments_.count(a) > 0;
            walk.line(depth + 1, cat({kTexts.argument, quoted(a),
                                      asked ? kTexts.no_value_asked : kTexts.no_value_computed}));
            return;
        }
        values.push_back(*value);
        shown.push_back(display_real(*value));
    }
    if (!relation_holds(model, values)) {
        std::string text = cat({kTexts.relation_false, relation_text(model, shown)});
        // Never applied, the model concluded nothing, not even the negation.
        if (record_.applied_models.count(number) == 0)
            text += cat({kTexts.but, unreached(Subject::Model)});
        walk.line(depth + 1, text);
        return;
    }
    walk.line(depth + 1, cat({kTexts.relation_true, relation_text(model, shown), kTexts.but,
                              unreached(Subject::Model)}));
}

void WhyNot::explain_condition(const std::string& c, bool application, const Step& place,
                               Walk& walk) const {
    const std::size_t depth = place.depth;
    const std::string label =
        cat({application ? kTexts.application_condition : kTexts.condition, quoted(c)});
    const char* mark = place.stopped ? kTexts.stopped : "";
    if (truth(c) == Truth::False) {
        walk.line(depth,
                  cat({label, kTexts.is_false, why_false(c, application), kTexts.closing, mark}));
        return;
    }
    if (askable(c, application)) {
        const char* why = place.later ? kTexts.stopped_before : unreached(Subject::Condition);
        walk.line(depth, cat({label, kTexts.not_asked, why, mark}));
        return;
    }
    const std::string p = positive_form(c);
    if (walk.on_path.count(p) > 0) {
        walk.line(depth, cat({label, kTexts.undecided, kTexts.cycle, mark}));
        return;
    }
    if (walk.expanded.count(p) > 0) {
        walk.line(depth, cat({label, kTexts.explained_above, mark}));
        return;
    }
    const auto& items = concluders(p);
    if (items.empty()) {
        walk.line(depth, cat({label, kTexts.undecided, kTexts.concluded_by_nothing, mark}));
        return;
    }
    // Condition lines stand one level below their rule, so depth / 2 counts levels of rules.
    if (depth / 2 >= kMaxLevels) {
        walk.line(depth, cat({label, kTexts.undecided, kTexts.too_deep, std::to_string(kMaxLevels),
                              kTexts.too_deep_end, mark}));
        return;
    }
    walk.line(depth, cat({label, kTexts.undecided, kTexts.not_concluded, mark}));
    walk.expanded.insert(p);
    walk.on_path.insert(p);
    walk.stack.push_back(Step::leaving(p));
    for (auto it = items.rbegin(); it != items.rend(); ++it)
        walk.stack.push_back(Step::of_item(*it, depth + 1));
}

// c is false: its negation holds. Who established it: a rule or model, a declared fact, a
// choice (a constraint or the fact menu), the user's answer, else the run.
std::string WhyNot::why_false(const std::string& c, bool application) const {
    const std::string fact = negacja(c);
    if (const auto number = deciding_number(fact); number && *number != 0)
        return who_concluded(*number, fact);
    if (declared_.count(fact) > 0) return cat({kTexts.declared, quoted(fact)});
    if (auto chosen = choice_made(fact)) return std::move(*chosen);
    if (askable(c, application)) {
        if (auto answer = answer_given(c)) return std::move(*answer);
    }
    return cat({kTexts.concluded, quoted(fact)});
}

// The question as it was asked and the answer as it was given, when they made c false.
std::optional<std::string> WhyNot::answer_given(const std::string& c) const {
    const auto it = record_.answers.find(positive_form(c));
    if (it == record_.answers.end()) return std::nullopt;
    const Answer& answer = it->second;
    if (answer.asked == c && !answer.yes) return std::string(kTexts.answered_no);
    const std::string fact = negacja(c);
    if (answer.asked != fact || !answer.yes) return std::nullopt;
    return cat({kTexts.question, quoted(answer.asked + "?"), kTexts.answer, kTexts.yes, kTexts.so,
                quoted(fact), kTexts.holds});
}

// `fact` holds by a choice: made itself, or the other members of its constraint excluded.
std::optional<std::string> WhyNot::choice_made(const std::string& fact) const {
    const auto it = record_.choices.find(fact);
    if (it == record_.choices.end()) return std::nullopt;
    const Choice& choice = it->second;
    if (choice.member == fact) {
        if (choice.constraint == 0) return cat({quoted(fact), kTexts.chosen_in_menu});
        return cat({quoted(fact), kTexts.chosen_from, std::to_string(choice.constraint)});
    }
    if (choice.constraint == 0) return std::string(kTexts.not_chosen);
    const auto cause = static_cast<std::size_t>(choice.cause);
    return cat({kTexts.by_constraint, std::to_string(choice.constraint), kTexts.in_which,
                kTexts.causes[cause], quoted(choice.member)});
}

std::string WhyNot::who_concluded(std::int32_t number, const std::string& fact) const {
    const std::string p = positive_form(fact);
    const auto concludes = [&p](const Fact& item) {
        const Name& k =
            item.kind == Kind::regula ? Rule(item).conclusion() : AnyModel(item).result();
        return positive_form(k) == p;
    };
    const std::string n = std::to_string(number);
    if (const auto it = rules_by_number_.find(number);
        it != rules_by_number_.end() && concludes(*it->second))
        return cat({kTexts.by_rule, n, kTexts.rule_concluded, quoted(fact)});
    if (const auto it = models_by_number_.find(number);
        it != models_by_number_.end() && concludes(*it->second))
        return cat({kTexts.by_model, n, kTexts.model_concluded, quoted(fact)});
    return cat({kTexts.concluded, quoted(fact)});
}

// --- the command ---------------------------------------------------------------------------------

void dlaczego_nie(UserInteraction& ui, const WhyNotMemory& record) {
    if (!record.direction) {
        ui.note(kTexts.list_title, kTexts.no_run);
        return;
    }
    const WhyNot why(record);
    const StringList candidates = why.candidates();
    if (candidates.empty()) {
        ui.note(kTexts.list_title, kTexts.nothing_left);
        return;
    }
    const auto chosen =
        ui.choose_from_list_or_cancel(kTexts.list_title, kTexts.list_prompt, candidates, false);
    if (!chosen || chosen->empty()) return;
    const auto index = std::min(static_cast<std::size_t>(chosen->front()), candidates.size() - 1);
    const std::string& condition = candidates[index];
    const std::vector<std::string> lines = why.explain(condition);
    // The run may have left a line open ("Czy zachować raport?  ").
    ui.begin_line();
    for (const auto& line : lines) {
        ui.write(line);
        ui.new_line();
    }
    ui.explain(cat({kTexts.dialog_title, condition}), lines);
}

}  // namespace xamo
