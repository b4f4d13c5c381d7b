#include "inference/backward.h"

#include <algorithm>
#include <optional>

#include "inference/backward_question.h"
#include "inference/models.h"
#include "inference/questions.h"
#include "kb/conditions.h"
#include "kb/operations.h"

namespace xamo {

struct BackwardEngine::Frame {
    enum class Stage { Start, Proving, Refuting, NegRefuting, NegProving, Models, Conditions };

    std::string c;  // the condition verified; empty for a list of conditions
    Stage stage = Stage::Start;
    const std::vector<const Fact*>* rules = nullptr;  // rules concluding c (or its positive form)
    const NameList* conditions = nullptr;             // the list verified by Stage::Conditions
    std::size_t rule = 0;
    std::size_t condition = 0;
    bool rule_open = false;  // the current rule was considered and its conditions are verified
    bool on_path = false;
    // Set by advance when a condition must be verified before the frame can go on.
    const Name* child = nullptr;
};

namespace {

const std::vector<const Fact*> kNoFacts;

}  // namespace

BackwardEngine::BackwardEngine(InferenceContext& ctx, ModelEvaluator& models, Search search)
    : ctx_(ctx), models_(models), search_(search) {
    for (const Fact& rule : ctx_.store.all(Kind::regula)) {
        rules_by_number_.emplace(Rule(rule).number(), &rule);
        if (Rule(rule).number() != 0)
            rules_by_conclusion_[Rule(rule).conclusion().str()].push_back(&rule);
    }
    for (Kind kind : {Kind::model, Kind::model_r, Kind::model_liniowy, Kind::model_wielomianowy}) {
        for (const Fact& model : ctx_.store.all(kind))
            models_by_result_[AnyModel(model).result().str()].push_back(&model);
    }
    for (const Fact& constraint : ctx_.store.all(Kind::ograniczenie)) {
        for (const auto& member : Constraint(constraint).members()) {
            // A member listed twice still names the constraint once.
            auto& holding = constraints_by_member_[member.str()];
            if (holding.empty() || holding.back() != &constraint) holding.push_back(&constraint);
        }
    }
    ctx_.verify_hypothesis = [this](std::string w) { return verification(std::move(w)); };
}

BackwardEngine::~BackwardEngine() { ctx_.verify_hypothesis = not_verified; }

// --- working memory --------------------------------------------------------------------------

bool BackwardEngine::established(const std::string& c) const {
    return ctx_.memory.rbd_wstecz.established(c);
}

bool BackwardEngine::answered(const std::string& c) const {
    return c != kNoCondition && ctx_.memory.rbd.has(0, c);
}

bool BackwardEngine::end_established() const { return established(std::string(kEnd)); }

void BackwardEngine::add_wstecz(const std::string& c) { ctx_.memory.rbd_wstecz.add(c); }

void BackwardEngine::remove_wstecz(const std::string& c) { ctx_.memory.rbd_wstecz.remove_all(c); }

void BackwardEngine::record_false(const std::string& member, const Choice& why) {
    const std::string negated = negacja(member);
    if (!established(negated)) add_wstecz(negated);
    ctx_.memory.zanegowany_warunek_z_bazy_ograniczen.push_back(negated);
    ctx_.memory.choices.emplace(negated, why);
}

const std::vector<const Fact*>& BackwardEngine::constraints_with(const std::string& member) const {
    const auto it = constraints_by_member_.find(member);
    return it == constraints_by_member_.end() ? kNoFacts : it->second;
}

const std::vector<const Fact*>& BackwardEngine::rules_concluding(const std::string& c) const {
    if (search_ == Search::Scan) {
        auto& found = scanned_rules_[c];
        found.clear();
        for (const Fact& rule : ctx_.store.all(Kind::regula)) {
            if (Rule(rule).number() != 0 && Rule(rule).conclusion() == c) found.push_back(&rule);
        }
        return found;
    }
    const auto it = rules_by_conclusion_.find(c);
    return it == rules_by_conclusion_.end() ? kNoFacts : it->second;
}

const std::vector<const Fact*>& BackwardEngine::models_with_result(
    const std::string& result) const {
    if (search_ == Search::Scan) {
        auto& found = scanned_models_[result];
        found.clear();
        for (Kind kind :
             {Kind::model, Kind::model_r, Kind::model_liniowy, Kind::model_wielomianowy}) {
            for (const Fact& model : ctx_.store.all(kind)) {
                if (AnyModel(model).result() == result) found.push_back(&model);
            }
        }
        return found;
    }
    const auto it = models_by_result_.find(result);
    return it == models_by_result_.end() ? kNoFacts : it->second;
}

const Fact* BackwardEngine::rule(std::int32_t number) const {
    const auto it = rules_by_number_.find(number);
    return it == rules_by_number_.end() ? nullptr : it->second;
}

namespace {

std::optional<std::int32_t> first_number_for(
    const std::deque<std::pair<std::int32_t, std::string>>& numbers, const std::string& c) {
    for (const auto& [number, condition] : numbers) {
        if (condition == c) return number;
    }
    return std::nullopt;
}

const Fact* two_member_constraint(const std::vector<const Fact*>& constraints) {
    for (const Fact* constraint : constraints) {
        if (Constraint(*constraint).members().size() == 2) return constraint;
    }
    return nullptr;
}

std::string other_member(const Fact& constraint, const std::string& member) {
    const auto& members = Constraint(constraint).members();
    return (members[0] == member ? members[1] : members[0]).str();
}

}  // namespace

std::optional<std::int32_t> BackwardEngine::proved_by(const std::string& c) const {
    return first_number_for(memory_.numer_prawda, c);
}

std::optional<std::int32_t> BackwardEngine::refuted_by(const std::string& c) const {
    return first_number_for(memory_.numer_nieprawda, c);
}

bool BackwardEngine::pamietaj_wstecz(const std::string& c, Choice::Cause cause) {
    const std::string negation = negacja(c);
    if (!is_negated(c)) {
        if (established(c) && !established(negation)) return true;
        remove_wstecz(negation);
        if (!established(c)) {
            add_wstecz(c);
            uzupelnij_ograniczenia(c, cause);
        }
        return true;
    }
    if (established(negation)) return false;
    if (!established(c)) {
        add_wstecz(c);
        uzupelnij_ograniczenia(c, cause);
    }
    return true;
}

void BackwardEngine::uzupelnij_ograniczenia(const std::string& c, Choice::Cause cause) {
    const bool positive = !is_negated(c);
    const auto because = [&](const Fact& constraint) {
        return Choice{Constraint(constraint).number(), c, cause};
    };
    if (positive) {
        if (const Fact* pair = two_member_constraint(constraints_with(c))) {
            record_false(other_member(*pair, c), because(*pair));
            return;
        }
    }
    const std::string complement = negacja(c);
    if (const Fact* pair = two_member_constraint(constraints_with(complement))) {
        const std::string other = other_member(*pair, complement);
        if (!established(other)) add_wstecz(other);
        return;
    }
    if (!positive) return;
    for (const Fact* constraint : constraints_with(c)) {
        for (const Name& name : Constraint(*constraint).members()) {
            const std::string member = name.str();
            if (member != c && !established(member)) record_false(member, because(*constraint));
        }
    }
}

void BackwardEngine::komunikat(const std::string& c) {
    if (ctx_.memory.hipoteza == c) {
        ctx_.line("Hipoteza główna  " + c + " jest testowana.");
        ctx_.ui.note("Hipoteza główna", "Hipoteza główna \n    " + c + "\njest testowana.");
    } else {
        ctx_.line("Hipoteza pomocnicza " + c + " jest testowana.");
        ctx_.ui.note("Hipoteza pomocnicza",
                     "Hipoteza pomocnicza \n     " + c + "\njest testowana.");
    }
}

// --- the start of a verification ----------------------------------------------------------------

void BackwardEngine::seed() {
    for (Kind kind : {Kind::fakt, Kind::m_fakt}) {
        for (const Fact& fact : ctx_.store.all(kind))
            pamietaj_wstecz(TextFact(fact).text().str(), Choice::Cause::Declared);
    }
    for (const Fact& known : ctx_.store.all(Kind::argument_znany)) {
        if (!ctx_.memory.zmienna_ustalona.has(KnownArgument(known).argument().str())) {
            ctx_.memory.zmienna_ustalona.set(KnownArgument(known).argument().str(),
                                             KnownArgument(known).value());
        }
    }
}

void BackwardEngine::verify_end_rules(const std::string& hypothesis) {
    memory_.hypothesis = hypothesis;
    if (hypothesis == kEnd) return;
    for (const Fact& rule : ctx_.store.all(Kind::regula)) {
        if (end_established()) return;
        if (Rule(rule).conclusion() != kEnd) continue;
        if (testuj_warunki_wstecz(Rule(rule).conditions()) && pamietaj_wstecz(std::string(kEnd)) &&
            end_established())
            memory_.end_rule = Rule(rule).number();
    }
}

// --- verification ------------------------------------------------------------------------------

bool BackwardEngine::weryfikowanie_hipotezy_cd(const std::string& c) {
    return verification(c).run();
}

Task<bool> BackwardEngine::verification(std::string c) {
    Frame root;
    root.c = std::move(c);
    co_return co_await verify(std::move(root));
}

bool BackwardEngine::testuj_warunki_wstecz(const NameList& conditions) {
    Frame root;
    root.stage = Frame::Stage::Conditions;
    root.conditions = &conditions;
    return verify(std::move(root)).run();
}

Task<bool> BackwardEngine::verify(Frame root) {
    std::vector<Frame> stack;
    stack.push_back(std::move(root));
    std::optional<bool> child;
    while (true) {
        ctx_.progress_step();
        Frame& frame = stack.back();
        Outcome outcome;
        if (frame.stage == Frame::Stage::Models) {
            outcome = co_await models_decide(frame.c);
        } else {
            outcome = advance(frame, child);
        }
        child.reset();
        if (outcome == Outcome::Pending) {
            if (frame.child != nullptr) {
                Frame next;
                next.c = frame.child->str();
                frame.child = nullptr;
                stack.push_back(std::move(next));  // `frame` is not used after this
            }
            continue;
        }
        if (frame.on_path) on_path_.erase(positive_form(frame.c));
        stack.pop_back();
        child = outcome == Outcome::Proved;
        if (stack.empty()) co_return *child;
    }
}

BackwardEngine::Outcome BackwardEngine::advance(Frame& frame, std::optional<bool> child) {
    using Stage = Frame::Stage;
    switch (frame.stage) {
        case Stage::Start:
            return start(frame);
        case Stage::Conditions: {
            if (child) {
                if (!*child) return Outcome::NotProved;
                ++frame.condition;
            }
            if (frame.condition == frame.conditions->size()) return Outcome::Proved;
            frame.child = &(*frame.conditions)[frame.condition];
            return Outcome::Pending;
        }
        default:
            return next_rule(frame, child);
    }
}

BackwardEngine::Outcome BackwardEngine::start(Frame& frame) {
    const std::string& c = frame.c;
    const std::string p = positive_form(c);
    const std::string not_p = negacja(p);
    // What is established decides.
    if (established(p)) return p == c ? Outcome::Proved : Outcome::NotProved;
    if (established(not_p)) return not_p == c ? Outcome::Proved : Outcome::NotProved;
    // An answer given to a question about a model's application condition (kept in rbd)
    // decides too: every askable condition is asked at most once per run.
    if (answered(p)) return p == c ? Outcome::Proved : Outcome::NotProved;
    if (answered(not_p)) return not_p == c ? Outcome::Proved : Outcome::NotProved;
    if (on_path_.count(p) > 0) return Outcome::NotProved;
    on_path_.insert(p);
    frame.on_path = true;
    // An askable condition is asked.
    if (ctx_.is_askable(c)) return pytaj(*this, c) ? Outcome::Proved : Outcome::NotProved;
    frame.stage = is_negated(c) ? Frame::Stage::NegRefuting : Frame::Stage::Proving;
    frame.rules = &rules_concluding(p);
    return Outcome::Pending;
}

void BackwardEngine::enter_stage_after_rules(Frame& frame) {
    using Stage = Frame::Stage;
    frame.rule = 0;
    frame.rule_open = false;
    switch (frame.stage) {
        case Stage::Proving:
            frame.stage = Stage::Refuting;
            break;
        case Stage::NegRefuting:
            frame.stage = Stage::NegProving;
            break;
        default:
            frame.stage = Stage::Models;
            break;
    }
}

BackwardEngine::Outcome BackwardEngine::next_rule(Frame& frame, std::optional<bool> child) {
    const auto& rules = *frame.rules;
    if (child) {
        if (!*child) return settle_rule(frame, *rules[frame.rule], false);
        ++frame.condition;
    }
    while (true) {
        if (!frame.rule_open) {
            if (frame.rule >= rules.size() || end_established()) {
                enter_stage_after_rules(frame);
                return Outcome::Pending;
            }
            const std::int32_t number = Rule(*rules[frame.rule]).number();
            memory_.regula_stosowana.push_front(number);
            if (memory_.regula_wykorzystana.count(number) > 0) {
                ++frame.rule;
                continue;
            }
            frame.rule_open = true;
            frame.condition = 0;
        }
        const NameList& conditions = Rule(*rules[frame.rule]).conditions();
        if (frame.condition < conditions.size()) {
            frame.child = &conditions[frame.condition];
            return Outcome::Pending;
        }
        return settle_rule(frame, *rules[frame.rule], true);
    }
}

BackwardEngine::Outcome BackwardEngine::settle_rule(Frame& frame, const Fact& rule,
                                                    bool all_proved) {
    using Stage = Frame::Stage;
    // Proving and NegRefuting decide on a rule whose conditions all hold, the others on a rule
    // with a condition that does not. A rule proves c when c is the result, refutes it otherwise.
    const bool on_all = frame.stage == Stage::Proving || frame.stage == Stage::NegRefuting;
    if (on_all == all_proved) {
        const std::string& c = frame.c;
        const bool proves = frame.stage == Stage::Proving || frame.stage == Stage::NegProving;
        if (conclude_by_rule(c, rule, proves ? c : negacja(c), proves)) {
            return proves ? Outcome::Proved : Outcome::NotProved;
        }
    }
    frame.rule_open = false;
    ++frame.rule;
    return Outcome::Pending;
}

bool BackwardEngine::conclude_by_rule(const std::string& c, const Fact& rule,
                                      const std::string& result, bool proves) {
    if (!pamietaj_wstecz(result)) return false;
    przedstawienie_faktow(ctx_);
    komunikat(c);
    wyjasnienie_regula(ctx_, rule, result);
    const std::int32_t n = Rule(rule).number();
    (proves ? memory_.numer_prawda : memory_.numer_nieprawda).emplace_front(n, c);
    memory_.regula_wykorzystana.insert(n);
    return true;
}

// --- models --------------------------------------------------------------------------------------

Task<BackwardEngine::Outcome> BackwardEngine::models_decide(std::string c) {
    if (end_established()) co_return Outcome::NotProved;
    if (co_await arithmetic_models(c)) co_return Outcome::Proved;
    const Outcome basic = co_await relational_models(c, false);
    if (basic != Outcome::Pending) co_return basic;
    const Outcome extended = co_await relational_models(c, true);
    co_return extended == Outcome::Proved ? Outcome::Proved : Outcome::NotProved;
}

Task<bool> BackwardEngine::arithmetic_models(std::string c) {
    // Basic, extended, linear and polynomial models, each kind in base order.
    for (const Fact* model : models_with_result(c)) {
        if (is_relational(*model)) continue;
        if (co_await models_.apply(*model)) co_return true;
    }
    co_return false;
}

Task<BackwardEngine::Outcome> BackwardEngine::relational_models(std::string c, bool extended) {
    const bool negated = is_negated(c);
    const std::string target = positive_form(c);
    const Kind kind = extended ? Kind::model_r : Kind::model;
    for (const Fact* candidate : models_with_result(target)) {
        const Fact& model = *candidate;
        if (model.kind != kind || !is_relational(model)) continue;
        if (extended && ModelR(model).variables().size() != 3) continue;
        if (!co_await models_.holds(AnyModel(model).condition().str())) continue;
        const std::int32_t n = model_number(model);
        if (established(c) || ctx_.memory.model_stosowany.count(n) > 0) continue;
        auto step = co_await models_.relation(model);
        if (!step) continue;
        const bool holds = step->reached == target;
        const bool proves = holds != negated;
        const std::string recorded = holds ? target : negacja(target);
        przedstawienie_faktow(ctx_);
        models_.przedstawienie_zmiennych();
        komunikat(c);
        if (!pamietaj_wstecz(recorded)) continue;
        (proves ? memory_.numer_prawda : memory_.numer_nieprawda).emplace_front(n, c);
        ctx_.memory.model_stosowany.insert(n);
        step->reached = recorded;
        models_.explain_relation(*step);
        co_return proves ? Outcome::Proved : Outcome::NotProved;
    }
    co_return Outcome::Pending;
}

}  // namespace xamo
