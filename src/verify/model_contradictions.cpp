#include "verify/model_contradictions.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "askable/list_ops.h"
#include "dialog/interaction.h"
#include "dialog/report.h"
#include "dialog/write_lines.h"
#include "kb/conditions.h"
#include "kb/model_symbols.h"

namespace xamo::models {
namespace {

constexpr int kReportCommand = 10084;

bool arithmetic_basic_symbol(std::string_view symbol) {
    // The functions count as well: "x = sqrt x" computes x from itself as much as "x = x + 1".
    // The rule-condition count takes a rule number, not an argument.
    return is_two_argument_operation(symbol) ||
           (is_function(symbol) && symbol != kRuleConditionCount);
}

// The arguments of the table as dense ids, the models computing each argument, and the strongly
// connected parts of the graph "result -> its arguments".
class ArgumentGraph {
  public:
    explicit ArgumentGraph(const std::vector<ArithmeticModelArguments>& table) : table_(table) {
        results_.reserve(table.size());
        arguments_.reserve(table.size());
        for (const auto& entry : table) results_.push_back(intern(entry.result));
        for (const auto& entry : table) {
            std::vector<std::uint32_t> ids;
            ids.reserve(entry.arguments.size());
            for (const auto& a : entry.arguments) ids.push_back(intern(a));
            arguments_.push_back(std::move(ids));
        }
        computed_by_.resize(constant_.size());
        for (std::size_t e = 0; e < table.size(); ++e)
            computed_by_[results_[e]].push_back(static_cast<std::uint32_t>(e));
        find_components();
        marks_.assign(constant_.size(), 0);
    }

    bool direct(std::size_t e) const {
        const auto& args = arguments_[e];
        return std::find(args.begin(), args.end(), results_[e]) != args.end();
    }

    // The single descent from entry e: the chain of a finding, newest first, or nothing.
    // `interrupted` is set when the progress said stop.
    std::optional<IntegerList> descend(std::size_t e, SearchProgress* progress, bool& interrupted) {
        if (e >= results_.size()) return std::nullopt;
        const std::uint32_t target = results_[e];
        const std::int32_t start = table_[e].number;
        if (!cyclic_[target]) return std::nullopt;
        const std::uint32_t generation = ++generation_;
        marks_[target] = generation;
        IntegerList chain{start};
        const std::vector<std::uint32_t>* current = &arguments_[e];
        for (;;) {
            const std::vector<std::uint32_t>* next = nullptr;
            for (std::uint32_t a : *current) {
                if (progress && !progress->step()) {
                    interrupted = true;
                    return std::nullopt;
                }
                if (constant_[a] || marks_[a] == generation) continue;
                std::optional<std::uint32_t> step;
                for (std::uint32_t c : computed_by_[a]) {
                    if (table_[c].number == start) continue;
                    const auto& args = arguments_[c];
                    if (std::find(args.begin(), args.end(), target) != args.end()) {
                        chain.push_back(table_[c].number);
                        std::reverse(chain.begin(), chain.end());
                        return chain;
                    }
                    if (!step) step = c;
                }
                if (!step) continue;
                // Outside the part that holds the target no chain can close.
                if (component_[a] != component_[target]) return std::nullopt;
                marks_[a] = generation;
                chain.push_back(table_[*step].number);
                next = &arguments_[*step];
                break;
            }
            if (!next) return std::nullopt;
            current = next;
        }
    }

  private:
    std::uint32_t intern(const std::string& text) {
        const auto [it, added] = ids_.try_emplace(text, static_cast<std::uint32_t>(ids_.size()));
        if (added) constant_.push_back(is_constant(text) ? 1 : 0);
        return it->second;
    }

    // Tarjan's algorithm on an explicit stack.
    void find_components() {
        const std::size_t n = constant_.size();
        constexpr std::uint32_t kUnvisited = 0xffffffffu;
        std::vector<std::uint32_t> order(n, kUnvisited), low(n, 0);
        std::vector<char> on_stack(n, 0);
        component_.assign(n, 0);
        cyclic_.assign(n, 0);
        std::vector<std::uint32_t> stack;
        std::vector<std::uint32_t> members;
        struct Frame {
            std::uint32_t node;
            std::size_t model;     // position in computed_by_[node]
            std::size_t argument;  // position in that model's arguments
        };
        std::vector<Frame> frames;
        std::uint32_t counter = 0;
        std::uint32_t components = 0;
        for (std::uint32_t root = 0; root < n; ++root) {
            if (order[root] != kUnvisited) continue;
            frames.push_back({root, 0, 0});
            order[root] = low[root] = counter++;
            stack.push_back(root);
            on_stack[root] = 1;
            while (!frames.empty()) {
                Frame& f = frames.back();
                const auto& models = computed_by_[f.node];
                if (f.model < models.size()) {
                    const auto& args = arguments_[models[f.model]];
                    if (f.argument >= args.size()) {
                        ++f.model;
                        f.argument = 0;
                        continue;
                    }
                    const std::uint32_t next = args[f.argument++];
                    if (constant_[next]) continue;
                    if (next == f.node) cyclic_[next] = 1;
                    if (order[next] == kUnvisited) {
                        order[next] = low[next] = counter++;
                        stack.push_back(next);
                        on_stack[next] = 1;
                        frames.push_back({next, 0, 0});
                    } else if (on_stack[next]) {
                        low[f.node] = std::min(low[f.node], order[next]);
                    }
                    continue;
                }
                const std::uint32_t node = f.node;
                frames.pop_back();
                if (!frames.empty()) {
                    const std::uint32_t parent = frames.back().node;
                    low[parent] = std::min(low[parent], low[node]);
                }
                if (low[node] != order[node]) continue;
                members.clear();
                std::uint32_t member = 0;
                do {
                    member = stack.back();
                    stack.pop_back();
                    on_stack[member] = 0;
                    component_[member] = components;
                    members.push_back(member);
                } while (member != node);
                if (members.size() > 1) {
                    for (std::uint32_t m : members) cyclic_[m] = 1;
                }
                ++components;
            }
        }
    }

    const std::vector<ArithmeticModelArguments>& table_;
    std::unordered_map<std::string_view, std::uint32_t> ids_;
    std::vector<char> constant_;
    std::vector<std::uint32_t> results_;
    std::vector<std::vector<std::uint32_t>> arguments_;
    std::vector<std::vector<std::uint32_t>> computed_by_;
    std::vector<std::uint32_t> component_;
    std::vector<char> cyclic_;
    std::vector<std::uint32_t> marks_;
    std::uint32_t generation_ = 0;
};

}  // namespace

std::vector<ArithmeticModelArguments> arithmetic_table(const FactStore& store) {
    std::vector<ArithmeticModelArguments> table;
    for (const Fact& f : store.all(Kind::model)) {
        const Model m(f);
        if (arithmetic_basic_symbol(m.symbol()))
            table.push_back(
                {m.number(), m.result().str(), {m.argument1().str(), m.argument2().str()}});
    }
    for (const Fact& f : store.all(Kind::model_r)) {
        const ModelR m(f);
        if (is_extended_arithmetic(m.symbol()))
            table.push_back({m.number(), m.result().str(), m.variables().texts()});
    }
    for (const Fact& f : store.all(Kind::model_liniowy)) {
        const LinearModel m(f);
        StringList arguments = m.variables().texts();
        append(arguments, m.coefficients());
        table.push_back({m.number(), m.result().str(), std::move(arguments)});
    }
    for (const Fact& f : store.all(Kind::model_wielomianowy)) {
        const PolynomialModel m(f);
        StringList arguments = m.coefficients().texts();
        arguments.push_back(m.variable().str());
        table.push_back({m.number(), m.result().str(), std::move(arguments)});
    }
    return table;
}

bool badaj_sprzecznosc_modeli(RuleDiagnosisContext& ctx, ModelDiagnosisMemory& memory) {
    const FactStore& store = ctx.store;
    SearchProgress progress(
        ctx.ui, "Diagnostyka sprzeczności bazy modeli",
        "Trwa diagnozowanie bazy modeli " + store.text(Kind::nazwa_mo).value_or("") + "...",
        ctx.progress_delay);
    progress.tell_when_interrupted(
        not_fully_checked("modeli", store.text(Kind::nazwa_mo).value_or("")));
    std::vector<ArithmeticModelArguments> table = arithmetic_table(store);
    std::vector<ModelFinding> direct;
    std::vector<DeepModelFinding> deep;
    {
        ArgumentGraph graph(table);
        bool interrupted = false;
        for (std::size_t e = 0; e < table.size(); ++e) {
            if (!progress.step()) return false;
            if (graph.direct(e)) {
                direct.push_back({table[e].number, table[e].result});
            } else if (graph.descend(e, &progress, interrupted)) {
                deep.push_back({table[e].number, table[e].result, e});
            }
            if (interrupted) return false;
        }
    }
    std::vector<ModelFinding> relational;
    const auto record = [&](std::int32_t number, const std::string& condition,
                            const std::string& result) {
        if (condition != result) return;
        const ModelFinding finding{number, result};
        if (std::find(relational.begin(), relational.end(), finding) == relational.end())
            relational.push_back(finding);
    };
    for (const Fact& f : store.all(Kind::model)) {
        const Model m(f);
        if (is_basic_relation(m.symbol()))
            record(m.number(), m.condition().str(), m.result().str());
    }
    for (const Fact& f : store.all(Kind::model_r)) {
        const ModelR m(f);
        if (is_extended_relation(m.symbol()))
            record(m.number(), m.condition().str(), m.result().str());
    }
    ctx.flags.model_aryt_sprzeczny = !direct.empty();
    ctx.flags.model_sprzeczny_gleboko = !deep.empty();
    ctx.flags.model_rela_sprzeczny = !relational.empty();
    memory.lista_argumentow_modelu_arytmetycznego = std::move(table);
    memory.model_arytmetyczny_sprzeczny = std::move(direct);
    memory.model_arytmetyczny_sprzeczny_gleboko = std::move(deep);
    memory.model_relacyjny_sprzeczny = std::move(relational);
    return true;
}

IntegerList deep_chain(const ModelDiagnosisMemory& memory, const DeepModelFinding& finding) {
    ArgumentGraph graph(memory.lista_argumentow_modelu_arytmetycznego);
    bool interrupted = false;
    return graph.descend(finding.entry, nullptr, interrupted).value_or(IntegerList{});
}

Outcome informuj_sprzecznosc_mz(RuleDiagnosisContext& ctx, ModelDiagnosisMemory& memory) {
    if (!badaj_sprzecznosc_modeli(ctx, memory)) return Outcome::Interrupted;
    if (!ctx.flags.model_base_contradictory()) return Outcome::Clean;
    UserInteraction& ui = ctx.ui;
    const std::string name = ctx.store.text(Kind::nazwa_mo).value_or("");
    memory.duplikat_nazwy_mo = name;
    write_lines(ui,
                {" W załadowanej bazie modeli " + name, " jest co najmniej jedna sprzeczność. ", "",
                 " Załadowaną bazę modeli możesz tylko edytować, lecz nie możesz korzystać",
                 " z niej dla wnioskowania.", "", " Możesz jednak diagnozować jej sprzeczności.",
                 " W tym celu musisz przejść do opcji:",
                 " 'Baza modeli/Diagnostyka sprzeczności bazy modeli' ", ""});
    ui.note("Informacja o sprzeczności",
            "Baza modeli rozwinięta dokładna\n   " + name +
                "\nzawiera co najmniej jedną sprzeczność." +
                "\nZaładowaną bazę modeli możesz tylko edytować, \nlecz nie możesz korzystać z "
                "niej dla wnioskowania.\n" +
                "Możesz jednak diagnozować jej sprzeczności.\n\n" +
                "W tym celu musisz przejść do opcji\n   'Baza modeli dokładna\n     Diagnostyka "
                "sprzeczności bazy modeli'");
    ctx.set_enabled({kReportCommand}, true);
    // The base counts as not loaded; its models stay for the report.
    ctx.store.remove_all(Kind::nazwa_mo);
    ctx.store.remove_all(Kind::nazwa_mo_pelna);
    return Outcome::Found;
}

namespace {

// The faulty model base leaves memory. The findings, the kept name and the table of arithmetic
// models stay: the chains of the indirect findings are walked on the table when the report is
// shown again.
void remove_model_base(FactStore& store) {
    store.clear_section(Section::Models);
    store.remove_all(Kind::nazwa_mo);
    store.remove_all(Kind::nazwa_mo_pelna);
}

void advise_editing(UserInteraction& ui, const std::string& title) {
    ui.write(" Przejdź do 'Bazy modeli'");
    ui.new_line();
    ui.write(" wybierz opcję 'Edycja bazy modeli', ");
    ui.new_line();
    ui.write(" wybierz błędną bazę i usuń błąd.");
    ui.note(title,
            "Przejdź do 'Bazy modeli dokładnej', wybierz opcję 'Edycja bazy modeli',\nwybierz "
            "błędną bazę i usuń błąd.");
}

std::string joined(const IntegerList& numbers, const std::string& separator) {
    std::string out;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i) out += separator;
        out += std::to_string(numbers[i]);
    }
    return out;
}

}  // namespace

void pisz_sprzecznosc_mz(RuleDiagnosisContext& ctx, ModelDiagnosisMemory& memory) {
    UserInteraction& ui = ctx.ui;
    Report report(ctx.store, ui);
    const DiagnosisFlags& flags = ctx.flags;
    // The name kept when the base was withdrawn; with no finding, the base loaded now.
    const std::string name =
        memory.duplikat_nazwy_mo.value_or(ctx.store.text(Kind::nazwa_mo).value_or(""));
    report.kasowanie_tekst_raportu();
    const ReportCapture shown(report);
    report.pisz_tuto(" Raport diagnostyki sprzeczności bazy modeli ");
    report.piszcr();
    ui.write(" " + name);
    report.piszcr();
    report.piszcr();

    // Arithmetic models.
    if (flags.model_aryt_sprzeczny) {
        ui.write(" Następujące modele arytmetyczne są bezpośrednio sprzeczne:");
        report.piszcr();
        report.piszcr();
        ui.note("Diagnostyka bezpośredniej sprzeczności modeli arytmetycznych",
                std::string("Następujące modele arytmetyczne są ") + "bezpośrednio sprzeczne:");
        for (const ModelFinding& f : memory.model_arytmetyczny_sprzeczny) {
            const std::string nr = std::to_string(f.number);
            ui.write(" Model " + nr + " ma wynik '" + f.result + "'");
            report.piszcr();
            ui.write(" tożsamy ze swym argumentem.");
            report.piszcr();
            ui.note("Sprzeczność modelu", "Model arytmetyczny " + nr + " ma wynik '" + f.result +
                                              "' \n " + "tożsamy ze swym argumentem.");
        }
    }
    if (flags.model_sprzeczny_gleboko) {
        report.piszcr();
        ui.write(" Następujące modele arytmetyczne są pośrednio sprzeczne:");
        report.piszcr();
        report.piszcr();
        ui.note("Diagnostyka pośredniej sprzeczności modeli arytmetycznych",
                std::string("Następujące modele arytmetyczne są ") + "pośrednio sprzeczne:");
        ArgumentGraph graph(memory.lista_argumentow_modelu_arytmetycznego);
        for (const DeepModelFinding& f : memory.model_arytmetyczny_sprzeczny_gleboko) {
            bool interrupted = false;
            const IntegerList chain =
                graph.descend(f.entry, nullptr, interrupted).value_or(IntegerList{});
            // The chain without the model itself (its last element).
            IntegerList others = chain;
            if (const auto it = std::find(others.begin(), others.end(), f.number);
                it != others.end())
                others.erase(it);
            const std::string nr = std::to_string(f.number);
            ui.write(" Model " + nr + " ma wynik '" + f.result + "'");
            report.piszcr();
            ui.write(
                " tożsamy z jednym z argumentów zagnieżdżających się z nim modeli o numerach:");
            ui.new_line();
            ui.write("      " + joined(others, ","));
            report.piszcr();
            ui.write(" Można to wykazać usuwając zagnieżdżenie na drodze podstawienia: ");
            ui.new_line();
            ui.write("      ");
            for (std::size_t i = 0; i < chain.size(); ++i) {
                if (i) ui.write(" ==> ");
                report.pisz_tuto_int(chain[i]);
            }
            report.piszcr();
            ui.note("Sprzeczność modelu arytmetycznego",
                    "Model arytmetyczny " + nr + " ma wynik '" + f.result + "' \n " +
                        "tożsamy z jednym z argumentów zagnieżdżających się z nim modeli o "
                        "numerach:\n " +
                        list_text(others) +
                        "\nMożna to wykazać usuwając zagnieżdżenie na drodze podstawienia:\n " +
                        joined(chain, " ==> "));
        }
    }
    // An arithmetic finding of either kind: the advice and the removal, unless the relational
    // part gives them.
    const bool arithmetic = flags.model_aryt_sprzeczny || flags.model_sprzeczny_gleboko;
    if (arithmetic && !flags.model_rela_sprzeczny) {
        advise_editing(ui, "Sprzeczność modelu");
        remove_model_base(ctx.store);
    }
    if (!arithmetic) {
        ui.new_line();
        ui.write(" Baza modeli " + name);
        ui.new_line();
        ui.write(" nie ma modeli arytmetycznych sprzecznych.");
        ui.new_line();
        ui.note("Sprzeczność modelu arytmetycznych",
                "Baza modeli rozwinięta dokładna\n   " + name +
                    "\nnie ma modeli arytmetycznych sprzecznych.");
    }

    // Relational models.
    if (flags.model_rela_sprzeczny) {
        report.piszcr();
        ui.write(" Następujące modele relacyjne są sprzeczne:");
        ui.note("Diagnostyka sprzeczności modeli relacyjnych",
                std::string("Następujące modele relacyjne są ") + "sprzeczne:");
        report.piszcr();
        report.piszcr();
        for (const ModelFinding& f : memory.model_relacyjny_sprzeczny) {
            const std::string nr = std::to_string(f.number);
            ui.write(" Model " + nr + " ma wniosek '" + f.result + "'");
            report.piszcr();
            ui.write(" tożsamy ze swym warunkiem stosowania.");
            report.piszcr();
            ui.note("Sprzeczność modelu relacyjnego", "Model " + nr + "\nma wniosek '" + f.result +
                                                          "' " +
                                                          " tożsamy ze swym warunkiem stosowania.");
        }
        advise_editing(ui, "Sprzeczność modelu relacyjnego");
        remove_model_base(ctx.store);
    } else {
        ui.new_line();
        ui.write(" Baza modeli " + name);
        ui.new_line();
        ui.write(" nie ma modeli relacyjnych sprzecznych.");
        ui.new_line();
        ui.note("Sprzeczność modeli relacyjnych", " Baza modeli rozwinięta dokładna\n   " + name +
                                                      "\nnie ma modeli relacyjnych sprzecznych.");
    }

    report.piszcr();
    report.piszcr();
    ui.write(" Koniec raportu diagnostyki sprzeczności bazy modeli ");
    report.piszcr();
    ui.write(" " + name + ".");
    ui.note("Raport diagnostyki sprzeczności bazy modeli ",
            " Koniec raportu diagnostyki sprzeczności bazy modeli " + name);
    report.raport();
}

}  // namespace xamo::models
