// The searches of the diagnoses over a layered base of 2,000 rules: external contradictions
// (every path of rules), internal contradictions (every flattening, distinct ones kept),
// redundancy (every pair of flattenings of rules with one conclusion), the joint searches with
// models and with constraints; and the model-base search over long chains and a ring of models.
// Each iteration starts from a fresh context, so building the index and flattening are counted.
#include <benchmark/benchmark.h>

#include <set>
#include <sstream>
#include <type_traits>

#include "askable/askable.h"
#include "generators.h"
#include "ui/console/console_interaction.h"
#include "verify/external_contradictions.h"
#include "verify/internal_contradictions.h"
#include "verify/model_contradictions.h"
#include "verify/model_rule_contradictions.h"
#include "verify/redundancy.h"
#include "verify/rule_constraint_contradictions.h"
#include "verify/rule_constraint_redundancy.h"

namespace {

struct Base {
    explicit Base(int rules) : Base(xamo::bench::generate_layered_rules(rules)) {}
    explicit Base(const std::vector<xamo::bench::GeneratedRule>& rules)
        : ui(no_input, dropped, false) {
        for (const auto& r : rules)
            store.add(xamo::make_rule(r.number, r.conclusion, r.conditions, 1));
        store.set_text(xamo::Kind::nazwa_re, "REwarstwy.BRD");
        xamo::remember_askable(askable, ui, xamo::askable_conditions_of_rules(store, askable));
    }
    std::istringstream no_input;
    std::ostringstream dropped;
    xamo::ConsoleInteraction ui;
    xamo::FactStore store;
    xamo::AskableMemory askable;
    xamo::DiagnosisFlags flags;
};

std::size_t flattenings(Base& base) {
    xamo::RuleDiagnosisMemory memory;
    xamo::RuleDiagnosisContext ctx(base.store, base.ui, base.askable, base.flags, memory);
    std::size_t total = 0;
    for (std::size_t i = 0; i < ctx.index().rules().size(); ++i)
        total += ctx.flattenings(i, nullptr)->size();
    return total;
}

template <bool (*Search)(xamo::RuleDiagnosisContext&)>
void BM_Search(benchmark::State& state) {
    Base base(static_cast<int>(state.range(0)));
    std::size_t found = 0;
    for (auto _ : state) {
        xamo::RuleDiagnosisMemory memory;
        xamo::RuleDiagnosisContext ctx(base.store, base.ui, base.askable, base.flags, memory);
        if (!Search(ctx)) state.SkipWithError("interrupted");
        found = memory.reguly_sprzeczne.size() + memory.regula_splaszczona_1w.size() +
                memory.reguly_nadmiarowe_n1.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["rules"] = static_cast<double>(base.store.all(xamo::Kind::regula).size());
    state.counters["flattenings"] = static_cast<double>(flattenings(base));
    state.counters["stored"] = static_cast<double>(found);
}

std::string atom(int i) { return "objaw_ąę_" + std::to_string(i); }

xamo::Fact basic_model(int n, const std::string& condition, const std::string& result,
                       const std::string& a1, const std::string& symbol, const std::string& a2) {
    return {xamo::Kind::model, {n, condition, result, a1, symbol, a2, 0}};
}

// Relational models for the joint search over the layered base: one on every conclusion of the
// rules (applied under it), a ring of relational models over the askable conditions, each fed by
// an arithmetic model applied under the next condition but one; one model of the ring in seven is
// applied under a conclusion instead, which closes joint contradictions.
void add_joint_models(Base& base) {
    int number = 1;
    std::set<std::string> unique;
    for (const xamo::Fact& f : base.store.all(xamo::Kind::regula))
        unique.insert(xamo::Rule(f).conclusion().str());
    const std::vector<std::string> conclusions(unique.begin(), unique.end());
    for (const auto& c : conclusions)
        base.store.add(basic_model(number++, c, "alarm_" + c, "t", "<>", "0"));
    for (int i = 0; i < 60; ++i) {
        const std::string v = "v_" + std::to_string(i);
        const std::string condition =
            i % 7 == 0 ? conclusions[static_cast<std::size_t>(i) * 31 % conclusions.size()]
                       : atom((i + 1) % 60);
        base.store.add(basic_model(number++, condition, atom(i), v, ">", "1"));
        base.store.add(basic_model(number++, atom((i + 2) % 60), v, "t", "+", "1"));
    }
    base.store.set_text(xamo::Kind::nazwa_mo, "MOwarstwy.BRD");
}

// Twenty constraints of three askable conditions each, and for each a conclusion of three rules
// that differ only in the constraint's member they take: twenty joint redundancies.
void add_constraints(Base& base) {
    int number = static_cast<int>(base.store.all(xamo::Kind::regula).size()) + 1;
    for (int k = 0; k < 20; ++k) {
        const xamo::StringList members{atom(3 * k), atom(3 * k + 1), atom(3 * k + 2)};
        base.store.add({xamo::Kind::ograniczenie, {k + 1, members}});
        for (const auto& m : members)
            base.store.add(xamo::make_rule(number++, "nadmiar_" + std::to_string(k),
                                           {"warunek_" + std::to_string(k), m}, 1));
    }
    base.store.set_text(xamo::Kind::nazwa_og, "OGwarstwy.BRD");
    xamo::remember_askable(base.askable, base.ui,
                           xamo::askable_conditions_of_rules(base.store, base.askable));
}

// One joint search over a fresh context; the number of its findings.
template <typename Memory, bool (*Search)(xamo::RuleDiagnosisContext&, Memory&)>
std::size_t run_joint(benchmark::State& state, Base& base) {
    xamo::RuleDiagnosisMemory rules;
    Memory memory;
    xamo::RuleDiagnosisContext ctx(base.store, base.ui, base.askable, base.flags, rules);
    if (!Search(ctx, memory)) state.SkipWithError("interrupted");
    if constexpr (std::is_same_v<Memory, xamo::ModelDiagnosisMemory>) {
        return memory.modele_i_reguly_sprzeczne.size();
    } else {
        return memory.sprzecznosc_2_wszystko.size() + memory.reguly_nadmiarowe_n2.size();
    }
}

template <typename Memory, bool (*Search)(xamo::RuleDiagnosisContext&, Memory&), void (*Add)(Base&)>
void BM_Joint(benchmark::State& state) {
    Base base(static_cast<int>(state.range(0)));
    Add(base);
    std::size_t found = 0;
    for (auto _ : state) {
        found = run_joint<Memory, Search>(state, base);
        benchmark::DoNotOptimize(found);
    }
    state.counters["flattenings"] = static_cast<double>(flattenings(base));
    state.counters["found"] = static_cast<double>(found);
}

// The model-base search: a chain of `n` arithmetic models whose last two feed each other, and a
// ring of n / 10 models, every one of them an indirect finding with a chain around the ring.
void BM_ModelBase(benchmark::State& state) {
    Base base(0);
    const int n = static_cast<int>(state.range(0));
    for (int i = 1; i < n; ++i)
        base.store.add(basic_model(i, "bez warunku", "x" + std::to_string(i),
                                   "x" + std::to_string(i + 1), "+", "1"));
    base.store.add(basic_model(n, "bez warunku", "x" + std::to_string(n),
                               "x" + std::to_string(n - 1), "*", "2"));
    const int ring = n / 10;
    for (int i = 0; i < ring; ++i)
        base.store.add(basic_model(n + 1 + i, "bez warunku", "r" + std::to_string(i),
                                   "r" + std::to_string((i + 1) % ring), "-", "1"));
    std::size_t found = 0;
    for (auto _ : state) {
        xamo::RuleDiagnosisMemory rules;
        xamo::ModelDiagnosisMemory memory;
        xamo::RuleDiagnosisContext ctx(base.store, base.ui, base.askable, base.flags, rules);
        if (!xamo::models::badaj_sprzecznosc_modeli(ctx, memory))
            state.SkipWithError("interrupted");
        found = memory.model_arytmetyczny_sprzeczny_gleboko.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["models"] = static_cast<double>(n + ring);
    state.counters["found"] = static_cast<double>(found);
}

// The diagnoses over a chain of N rules (rule i concludes c_i from c_(i+1) and a_i). One
// iteration each: the larger chains take long, and a fresh context is what the program pays.
template <bool (*Search)(xamo::RuleDiagnosisContext&),
          xamo::bench::ChainShape Shape = xamo::bench::ChainShape::Plain>
void BM_Chain(benchmark::State& state) {
    Base base(xamo::bench::generate_chain_rules(static_cast<int>(state.range(0)), Shape));
    std::size_t found = 0;
    for (auto _ : state) {
        xamo::RuleDiagnosisMemory memory;
        xamo::RuleDiagnosisContext ctx(base.store, base.ui, base.askable, base.flags, memory);
        if (!Search(ctx)) state.SkipWithError("interrupted");
        found = memory.reguly_sprzeczne.size() + memory.regula_splaszczona_1w.size() +
                memory.reguly_nadmiarowe_n1.size();
    }
    state.counters["stored"] = static_cast<double>(found);
}

// The first flattening of the first rule of the chain, the deepest one.
void BM_ChainFirstFlattening(benchmark::State& state) {
    Base base(xamo::bench::generate_chain_rules(static_cast<int>(state.range(0))));
    xamo::RuleIndex index(base.store, base.askable);
    std::size_t size = 0;
    for (auto _ : state) {
        xamo::Flattener flattener(index, index.rules().front().conditions);
        size = flattener.next()->conditions.size();
    }
    state.counters["conditions"] = static_cast<double>(size);
}

// The joint diagnoses over the chain: relational models applied under ten conclusions spread
// along it; a constraint over a_1, a_3 and a_5, which the rules above a_5 hold two of.
void add_chain_models(Base& base) {
    const int n = static_cast<int>(base.store.all(xamo::Kind::regula).size());
    for (int k = 1; k <= 10; ++k) {
        const std::string c = "c_" + std::to_string(std::max(1, n * k / 10));
        base.store.add(basic_model(k, c, "alarm_" + c, "t", "<>", "0"));
    }
    base.store.set_text(xamo::Kind::nazwa_mo, "MOłańcuch.BRD");
}

void add_chain_constraint(Base& base) {
    base.store.add({xamo::Kind::ograniczenie, {1, xamo::StringList{"a_1", "a_3", "a_5"}}});
    base.store.set_text(xamo::Kind::nazwa_og, "OGłańcuch.BRD");
}

template <typename Memory, bool (*Search)(xamo::RuleDiagnosisContext&, Memory&), void (*Add)(Base&)>
void BM_ChainJoint(benchmark::State& state) {
    Base base(xamo::bench::generate_chain_rules(static_cast<int>(state.range(0))));
    Add(base);
    std::size_t found = 0;
    for (auto _ : state) found = run_joint<Memory, Search>(state, base);
    state.counters["found"] = static_cast<double>(found);
}

#define XAMO_CHAIN_SIZES                                                                         \
    ->Arg(1000)->Arg(2000)->Arg(5000)->Arg(10000)->Arg(20000)->Arg(100000)->Iterations(1)->Unit( \
        benchmark::kMillisecond)
BENCHMARK(BM_ChainFirstFlattening) XAMO_CHAIN_SIZES;
BENCHMARK_TEMPLATE(BM_Chain, xamo::external::badaj_sprzecznosc_1z) XAMO_CHAIN_SIZES;
BENCHMARK_TEMPLATE(BM_Chain, xamo::internal::wyznacz_sprzecznosc_1w) XAMO_CHAIN_SIZES;
BENCHMARK_TEMPLATE(BM_Chain, xamo::redundancy::wyznacz_nadmiar) XAMO_CHAIN_SIZES;
// Chains through negations, with branches and with two rules for every conclusion.
#define XAMO_SHAPED_CHAIN_SIZES \
    ->Arg(1000)->Arg(5000)->Arg(20000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond)
#define XAMO_SHAPED_CHAIN(Shape)                                                \
    BENCHMARK_TEMPLATE(BM_Chain, xamo::external::badaj_sprzecznosc_1z, Shape)   \
    XAMO_SHAPED_CHAIN_SIZES;                                                    \
    BENCHMARK_TEMPLATE(BM_Chain, xamo::internal::wyznacz_sprzecznosc_1w, Shape) \
    XAMO_SHAPED_CHAIN_SIZES;                                                    \
    BENCHMARK_TEMPLATE(BM_Chain, xamo::redundancy::wyznacz_nadmiar, Shape) XAMO_SHAPED_CHAIN_SIZES
XAMO_SHAPED_CHAIN(xamo::bench::ChainShape::Negated);
XAMO_SHAPED_CHAIN(xamo::bench::ChainShape::Branched);
XAMO_SHAPED_CHAIN(xamo::bench::ChainShape::Alternatives);
BENCHMARK_TEMPLATE(BM_ChainJoint, xamo::ModelDiagnosisMemory,
                   xamo::model_rule::badaj_sprzecznosc_mr, add_chain_models)
XAMO_CHAIN_SIZES;
BENCHMARK_TEMPLATE(BM_ChainJoint, xamo::ConstraintDiagnosisMemory,
                   xamo::joint_contradictions::wyznacz_sprzecznosc_2, add_chain_constraint)
XAMO_CHAIN_SIZES;
BENCHMARK_TEMPLATE(BM_ChainJoint, xamo::ConstraintDiagnosisMemory,
                   xamo::joint_redundancy::wyznacz_nadmiar_2, add_chain_constraint)
XAMO_CHAIN_SIZES;

BENCHMARK(BM_ModelBase)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Joint, xamo::ModelDiagnosisMemory, xamo::model_rule::badaj_sprzecznosc_mr,
                   add_joint_models)
    ->Arg(2000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Joint, xamo::ConstraintDiagnosisMemory,
                   xamo::joint_contradictions::wyznacz_sprzecznosc_2, add_constraints)
    ->Arg(2000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Joint, xamo::ConstraintDiagnosisMemory,
                   xamo::joint_redundancy::wyznacz_nadmiar_2, add_constraints)
    ->Arg(2000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_TEMPLATE(BM_Search, xamo::external::badaj_sprzecznosc_1z)
    ->Arg(2000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Search, xamo::internal::wyznacz_sprzecznosc_1w)
    ->Arg(2000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Search, xamo::redundancy::wyznacz_nadmiar)
    ->Arg(2000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
