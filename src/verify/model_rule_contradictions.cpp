#include "verify/model_rule_contradictions.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "dialog/interaction.h"
#include "dialog/report.h"
#include "dialog/write_lines.h"
#include "kb/conditions.h"
#include "kb/model_symbols.h"
#include "verify/list_helpers.h"
#include "verify/reachability.h"

namespace xamo::model_rule {
namespace {

constexpr int kReportCommand = 10085;
const std::string kTitle = "Informacja o sprzecznościach łącznych bazy modeli i bazy reguł";

struct RelationalModel {
    std::int32_t number = 0;
    std::string condition;
    std::string result;
    const Fact* basic = nullptr;  // the basic model, or nullptr for an extended one
};

// The ways from a condition through the models: the condition is the result of a relational
// model; the next condition is that model's application condition, or the application condition
// of a basic arithmetic model computing one of its arguments (basic relational models only).
class ModelChains {
  public:
    explicit ModelChains(const FactStore& store) {
        for (const Fact& f : store.all(Kind::model)) {
            const Model m(f);
            results_.insert(m.result().str());
            if (is_basic_relation(m.symbol()))
                relational_.push_back({m.number(), m.condition().str(), m.result().str(), &f});
            if (is_two_argument_operation(m.symbol()) ||
                (is_function(m.symbol()) && m.symbol() != kRuleConditionCount))
                arithmetic_[m.result().str()].push_back(&f);
        }
        for (const Fact& f : store.all(Kind::model_r)) {
            const ModelR m(f);
            results_.insert(m.result().str());
            if (is_extended_relation(m.symbol()))
                relational_.push_back({m.number(), m.condition().str(), m.result().str(), nullptr});
        }
        for (std::size_t i = 0; i < relational_.size(); ++i)
            concluding_[relational_[i].result].push_back(i);
    }

    // Relational models, the basic ones first, each kind in base order.
    const std::vector<RelationalModel>& relational() const { return relational_; }
    // testowalny: some basic or extended model computes the condition.
    bool testowalny(const std::string& condition) const { return results_.contains(condition); }

    // The numbers of the models on the first path from `start` to `target`, the latest first;
    // nothing when no path leads there. `interrupted` is set when the progress said stop.
    std::optional<IntegerList> path(const std::string& start, const std::string& target,
                                    SearchProgress& progress, bool& interrupted) {
        std::unordered_set<std::string_view> entered{start};
        std::vector<Frame> frames{{&edges(start), 0}};
        std::vector<const Edge*> taken;  // the edge into every frame but the first
        while (!frames.empty()) {
            Frame& frame = frames.back();
            if (frame.next == frame.edges->size()) {
                frames.pop_back();
                if (!taken.empty()) taken.pop_back();
                continue;
            }
            const Edge& edge = (*frame.edges)[frame.next++];
            if (!progress.step()) {
                interrupted = true;
                return std::nullopt;
            }
            if (edge.target == target) {
                taken.push_back(&edge);
                IntegerList models;
                for (const Edge* e : taken)
                    models.insert(models.end(), e->models.begin(), e->models.end());
                return odwracanie(models);
            }
            if (!entered.insert(edge.target).second) continue;
            taken.push_back(&edge);
            frames.push_back({&edges(edge.target), 0});
        }
        return std::nullopt;
    }

  private:
    struct Edge {
        std::string target;
        IntegerList models;  // in the order passed through
    };
    struct Frame {
        const std::vector<Edge>* edges;
        std::size_t next;
    };

    const std::vector<Edge>& edges(const std::string& condition) {
        if (const auto it = edges_.find(condition); it != edges_.end()) return it->second;
        std::vector<Edge> out;
        if (const auto it = concluding_.find(condition); it != concluding_.end()) {
            for (std::size_t i : it->second)
                out.push_back({relational_[i].condition, {relational_[i].number}});
            for (std::size_t i : it->second) {
                const RelationalModel& r = relational_[i];
                if (!r.basic) continue;
                const Model m(*r.basic);
                for (const Name* argument : {&m.argument1(), &m.argument2()}) {
                    const auto feeding = arithmetic_.find(argument->str());
                    if (feeding == arithmetic_.end()) continue;
                    for (const Fact* f : feeding->second) {
                        const Model a(*f);
                        if (a.number() == r.number) continue;
                        out.push_back({a.condition().str(), {r.number, a.number()}});
                    }
                }
            }
        }
        return edges_.emplace(condition, std::move(out)).first->second;
    }

    std::vector<RelationalModel> relational_;
    std::unordered_map<std::string, std::vector<std::size_t>> concluding_;
    std::unordered_map<std::string, std::vector<const Fact*>> arithmetic_;
    std::unordered_set<std::string> results_;
    std::unordered_map<std::string, std::vector<Edge>> edges_;
};

}  // namespace

bool badaj_sprzecznosc_mr(RuleDiagnosisContext& ctx, ModelDiagnosisMemory& memory) {
    SearchProgress progress(ctx.ui, "Diagnostyka sprzeczności łącznych bazy modeli i bazy reguł",
                            "Trwa spłaszczanie reguł bazy " + ctx.base_name() + "...",
                            ctx.progress_delay);
    progress.tell_when_interrupted(not_fully_checked(
        "modeli", ctx.store.text(Kind::nazwa_mo).value_or(""), "reguł", ctx.base_name()));
    if (!ctx.build_index(progress)) return false;
    RuleIndex& index = ctx.index();
    ModelChains chains(ctx.store);
    // Interning may grow the index, so the rules concluding each condition are copied first.
    std::vector<ConditionId> targets;
    std::vector<std::vector<std::uint32_t>> concluding;
    for (const RelationalModel& model : chains.relational()) {
        targets.push_back(index.id_of(model.condition));
        concluding.push_back(index.concluding(targets.back()));
    }
    // The answer for a target and a condition, and whether a model computes a condition, by id.
    std::unordered_map<std::uint64_t, std::optional<IntegerList>> paths;
    std::unordered_map<ConditionId, bool> testable;
    // In a base without cycles a rule none of whose conditions can reach a condition a model
    // computes has no flattening that could hold one.
    std::vector<char> reaching_testable;
    if (!index.has_cycles()) {
        std::vector<char> computed(index.size(), 0);
        for (ConditionId id = 0; id < index.size(); ++id)
            computed[id] = chains.testowalny(index.text(id)) ? 1 : 0;
        reaching_testable = reaching_marked(index, std::move(computed));
    }
    const auto may_hold_testable = [&](std::uint32_t position) {
        const auto& conditions = index.rules()[position].conditions;
        return reaching_testable.empty() ||
               std::any_of(conditions.begin(), conditions.end(),
                           [&](ConditionId c) { return reaching_testable[c] != 0; });
    };
    std::vector<ModelRuleFinding> findings;
    for (std::size_t m = 0; m < chains.relational().size(); ++m) {
        const RelationalModel& model = chains.relational()[m];
        for (std::uint32_t position : concluding[m]) {
            if (!may_hold_testable(position)) continue;
            const auto* flattenings = ctx.flattenings(position, &progress);
            if (!flattenings) return false;
            for (const Flattening& f : *flattenings) {
                if (!progress.step()) return false;
                for (ConditionId id : f.conditions) {
                    auto [known, added] = testable.try_emplace(id, false);
                    if (added) known->second = chains.testowalny(index.text(id));
                    if (!known->second) continue;
                    const std::uint64_t key = (std::uint64_t{targets[m]} << 32) | id;
                    auto it = paths.find(key);
                    if (it == paths.end()) {
                        bool interrupted = false;
                        auto models =
                            chains.path(index.text(id), model.condition, progress, interrupted);
                        if (interrupted) return false;
                        it = paths.emplace(key, std::move(models)).first;
                    }
                    if (!it->second) continue;
                    findings.push_back(
                        {model.number, index.rules()[position].number, f.numbers, *it->second});
                    break;
                }
            }
        }
    }
    ctx.flags.sprzecznosc_mr = !findings.empty();
    memory.modele_i_reguly_sprzeczne = std::move(findings);
    return true;
}

models::Outcome informuj_sprzecznosc_mr(RuleDiagnosisContext& ctx, ModelDiagnosisMemory& memory) {
    if (!badaj_sprzecznosc_mr(ctx, memory)) return models::Outcome::Interrupted;
    ctx.tell_cycles();
    if (!ctx.flags.sprzecznosc_mr) return models::Outcome::Clean;
    UserInteraction& ui = ctx.ui;
    const std::string m = ctx.store.text(Kind::nazwa_mo).value_or("");
    const std::string r = ctx.base_name();
    write_lines(
        ui,
        {"Baza modeli  " + m, "i baza reguł " + r, "mają co najmniej jedną sprzeczność łączną. ",
         "Załadowane bazy możesz tylko edytować, lecz nie możesz korzystać",
         "z nich dla wnioskowania. Nie możesz również ładować odpowiadającej im",
         "bazy ograniczeń i rad.", "", "Możesz jednak diagnozować† ich sprzeczności łączne.",
         "W tym celu musisz przejść do opcji:", "'Baza modeli/",
         "        Diagnostyka sprzeczności łącznych bazy modeli i bazy reguł' ", ""});
    ui.note(kTitle, "Baza modeli rozwinięta dokładna\n   " + m +
                        "\ni baza reguł rozwinięta dokładna\n   " + r +
                        "\nmają co najmniej jedną sprzeczność łączną. " +
                        "\nZaładowane bazy możesz tylko edytować, lecz nie możesz korzystać" +
                        "\nz nich dla wnioskowania. Nie możesz również ładować odpowiadającej im" +
                        "\nbazy ograniczeń i rad." +
                        "\nMożesz jednak diagnozować ich sprzeczności łączne." +
                        "\nW tym celu musisz przejść do opcji:" +
                        "\n   'Baza modeli\n     Diagnostyka sprzeczności łącznych\n     bazy "
                        "modeli i bazy reguł' ");
    ctx.set_enabled({kReportCommand}, true);
    return models::Outcome::Found;
}

void pisz_sprzecznosc_mr(RuleDiagnosisContext& ctx, const ModelDiagnosisMemory& memory) {
    UserInteraction& ui = ctx.ui;
    Report report(ctx.store, ui);
    const std::string r = ctx.base_name();
    const std::string m = ctx.store.text(Kind::nazwa_mo).value_or("");
    if (memory.modele_i_reguly_sprzeczne.empty()) {
        ui.write(" Baza reguł " + r + " i baza modeli " + m + " nie są łącznie sprzeczne.");
        ui.new_line();
        ui.note(kTitle, "Baza modeli rozwinięta dokładna\n   " + m +
                            "\ni baza reguł rozwinięta dokładna\n   " + r +
                            "\n nie są łącznie sprzeczne.");
        return;
    }
    report.kasowanie_tekst_raportu();
    const ReportCapture shown(report);
    ui.write(" Raport diagnostyki sprzeczności łącznych ");
    report.piszcr();
    ui.write(" bazy reguł  " + r);
    report.piszcr();
    ui.write(" bazy modeli " + m);
    report.piszcr();
    ui.note(kTitle, std::string(" Raport diagnostyki sprzeczności łącznych") +
                        "\n bazy reguł rozwiniętej dokładnej\n   " + r +
                        "\n bazy modeli rozwiniętej dokładnej\n   " + m);
    for (const ModelRuleFinding& f : memory.modele_i_reguly_sprzeczne) {
        // The numbers of the flattening are kept cleaned, so they already read in order of use.
        const IntegerList rule_chain = usun(f.rule_numbers, f.rule);
        const IntegerList model_chain = odwracanie(usun(f.model_numbers, f.model));
        const std::string text = " Model relacyjny " + std::to_string(f.model) +
                                 " jest łącznie sprzeczny z regułą " + std::to_string(f.rule);
        report.piszcr();
        ui.write(text);
        report.piszcr();
        // test_dla_tekstu
        if (rule_chain.empty() && model_chain.empty()) {
            ui.note(kTitle, text);
        } else if (rule_chain.empty()) {
            ui.write(" poprzez łańcuch zagnieżdżajacych się modeli o numerach " +
                     list_text(model_chain));
            ui.note(kTitle, text + "\n poprzez łańcuch zagnieżdżających się modeli o numerach " +
                                list_text(model_chain));
        } else if (model_chain.empty()) {
            // A chain of rules alone (the model concludes the condition it starts from).
            ui.write(" poprzez łańcuch zagnieżdżających się reguł o numerach " +
                     list_text(rule_chain));
            ui.note(kTitle, text + "\n poprzez łańcuch zagnieżdżających się reguł o numerach " +
                                list_text(rule_chain));
        } else {
            ui.write(" poprzez łańcuch zagnieżdżających się reguł o numerach " +
                     list_text(rule_chain) +
                     " i poprzez łańcuch zagnieżdżajacych się modeli o numerach " +
                     list_text(model_chain));
            ui.note(kTitle, text + "\n poprzez łańcuch zagnieżdżających się reguł o numerach " +
                                list_text(rule_chain) +
                                "\n i poprzez łańcuch zagnieżdżających się modeli o numerach " +
                                list_text(model_chain));
        }
    }
    report.piszcr();
    ui.write(" Koniec raportu diagnostyki sprzeczności łącznych ");
    report.piszcr();
    ui.write(" bazy reguł  " + r);
    report.piszcr();
    ui.write(" bazy modeli " + m + ".");
    report.piszcr();
    report.raport();
}

}  // namespace xamo::model_rule
