#include "regression/case_run.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <filesystem>
#include <memory>
#include <set>
#include <thread>

#include "app/application.h"
#include "inference/context.h"
#include "kb/codec.h"
#include "kb/facts.h"
#include "regression/case_interaction.h"

namespace xamo {
namespace {

namespace fs = std::filesystem;

constexpr int kLoadRules = 10058;
constexpr int kLoadModels = 10071;
constexpr int kLoadConstraints = 10087;
constexpr int kForward = 10148;
constexpr int kBackward = 10149;

// The base file of `prefix` ("RE", "MO", "OG") in the directory or its BAZY folder; the
// first in name order when there are several.
std::string base_file(const fs::path& directory, const std::string& prefix) {
    for (const fs::path& folder : {directory, directory / "BAZY"}) {
        std::error_code ec;
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder, ec)) {
            const std::string name = upper_case(entry.path().filename().string());
            if (name.rfind(prefix, 0) == 0 && name.size() > 4 &&
                name.compare(name.size() - 4, 4, ".BRD") == 0)
                found.insert(entry.path().string());
        }
        if (!found.empty()) return *found.begin();
    }
    return {};
}

// One Application with the base loaded, answering from the row it is given.
struct LoadedBase {
    CaseInteraction ui;
    Application app{ui};
};

std::unique_ptr<LoadedBase> load_base(const CaseBaseFiles& files) {
    auto base = std::make_unique<LoadedBase>();
    base->app.start();
    base->app.close_introduction();
    const std::pair<int, const std::string*> loads[] = {{kLoadRules, &files.rules},
                                                        {kLoadModels, &files.models},
                                                        {kLoadConstraints, &files.constraints}};
    for (const auto& [command, file] : loads) {
        if (file->empty()) continue;
        base->ui.open_next(*file);
        base->app.run_command(command);
    }
    if (base->app.store().all(Kind::nazwa_re).empty()) return nullptr;
    return base;
}

CaseVocabulary vocabulary_of(Application& app) {
    CaseVocabulary vocabulary;
    for (const auto& c : app.askable().lista_wszystkich_dopytywalnych_dla_wyswietlania)
        vocabulary.conditions.insert(c);
    for (const auto& c : app.askable().lista_warunkow_dopytywalnych)
        vocabulary.conditions.insert(c);
    for (const auto& a : app.askable().lista_argumentow_dopytywalnych)
        vocabulary.arguments.insert(a);
    return vocabulary;
}

// The conclusions of the base's rules and models, each once, in base order.
std::vector<std::string> conclusions_of(const FactStore& store) {
    std::vector<std::string> conclusions;
    std::set<std::string> seen;
    for (const Fact& fact : store.all(Kind::regula)) {
        const Name& c = Rule(fact).conclusion();
        if (c != "koniec" && seen.insert(c.str()).second) conclusions.push_back(c.str());
    }
    return conclusions;
}

std::vector<std::int32_t> model_numbers(const FactStore& store) {
    std::vector<std::int32_t> numbers;
    for (Kind kind : {Kind::model, Kind::model_r, Kind::model_liniowy, Kind::model_wielomianowy}) {
        for (const Fact& fact : store.all(kind)) numbers.push_back(number_of(fact));
    }
    return numbers;
}

// The conditions of the base's rules, without negation: a hypothesis among them is a broad one.
std::set<std::string> rule_conditions(const FactStore& store) {
    std::set<std::string> conditions;
    for (const Fact& fact : store.all(Kind::regula)) {
        for (const Name& c : Rule(fact).conditions()) conditions.insert(positive_form(c.str()));
    }
    return conditions;
}

// A rule fired when it established its conclusion (a rule that only concluded the negation, its
// conditions failing, did not).
bool fired(Application& app, const Rule& rule, bool backward) {
    const InferenceMemory& memory = app.inference();
    if (!backward) return memory.final_rbd->has(rule.number(), rule.conclusion());
    const auto& decided = app.why_not().decided_by;
    const auto by = decided.find(rule.conclusion().str());
    return memory.in_rbd_wstecz(rule.conclusion().str()) && by != decided.end() &&
           by->second == rule.number();
}

CaseOutcome run_row(LoadedBase& base, const CaseRow& row,
                    const std::vector<std::string>& conclusions,
                    const std::set<std::string>& broad) {
    CaseOutcome outcome;
    outcome.line = row.line;
    base.ui.set_broad_hypothesis(row.hypothesis && broad.count(*row.hypothesis) > 0);
    base.ui.answer_from(&row);
    base.app.run_command(row.hypothesis ? kBackward : kForward);
    base.ui.answer_from(nullptr);
    const InferenceMemory& memory = base.app.inference();
    const auto established = [&](const std::string& c) {
        return row.hypothesis ? memory.in_rbd_wstecz(c) : memory.final_rbd->established(c);
    };
    for (const Fact& fact : base.app.store().all(Kind::regula)) {
        if (fired(base.app, Rule(fact), row.hypothesis.has_value()))
            outcome.rules.push_back(Rule(fact).number());
    }
    outcome.models.assign(memory.model_stosowany.begin(), memory.model_stosowany.end());
    for (const auto& c : conclusions) {
        if (established(c)) outcome.established.push_back(c);
    }
    if (const auto& question = base.ui.unanswered()) {
        outcome.status = CaseOutcome::Status::Unanswered;
        outcome.question = *question;
        return outcome;
    }
    for (const auto& c : row.expected) {
        if (!established(c)) outcome.missing.push_back(c);
    }
    for (const auto& c : row.excluded) {
        if (established(c)) outcome.unwanted.push_back(c);
    }
    if (!outcome.missing.empty() || !outcome.unwanted.empty())
        outcome.status = CaseOutcome::Status::Fail;
    return outcome;
}

CaseCoverage coverage_of(const std::vector<CaseOutcome>& outcomes, const FactStore& store,
                         const std::vector<std::string>& conclusions) {
    std::set<std::int32_t> rules, models;
    std::set<std::string> established;
    for (const auto& outcome : outcomes) {
        // A row stopped at an open question ran only part of its consultation.
        if (outcome.status == CaseOutcome::Status::Unanswered) continue;
        rules.insert(outcome.rules.begin(), outcome.rules.end());
        models.insert(outcome.models.begin(), outcome.models.end());
        established.insert(outcome.established.begin(), outcome.established.end());
    }
    CaseCoverage coverage;
    for (const Fact& fact : store.all(Kind::regula)) {
        const std::int32_t n = number_of(fact);
        (rules.count(n) ? coverage.rules_fired : coverage.rules_never).push_back(n);
    }
    for (const std::int32_t n : model_numbers(store))
        (models.count(n) ? coverage.models_fired : coverage.models_never).push_back(n);
    for (const auto& c : conclusions) {
        if (!established.count(c)) coverage.conclusions_never.push_back(c);
    }
    return coverage;
}

}  // namespace

CaseBaseFiles base_files_in(const std::string& directory) {
    std::error_code ec;
    const fs::path full = fs::absolute(fs::path(directory), ec);
    return {base_file(full, "RE"), base_file(full, "MO"), base_file(full, "OG")};
}

std::size_t CaseReport::passed() const {
    return static_cast<std::size_t>(std::count_if(
        outcomes.begin(), outcomes.end(),
        [](const CaseOutcome& outcome) { return outcome.status == CaseOutcome::Status::Pass; }));
}

std::variant<CaseReport, std::string> run_case_table(
    const CaseBaseFiles& files, const std::vector<std::vector<std::string>>& records,
    unsigned workers, const CaseProgress& progress) {
    // Loading changes the program's current directory, so the bases are loaded one after
    // another here; the rows then only read their own base.
    std::error_code ec;
    const fs::path start = fs::current_path(ec);
    std::vector<std::unique_ptr<LoadedBase>> bases;
    auto first = load_base(files);
    if (!first) {
        fs::current_path(start, ec);
        return files.rules.empty() ? std::string("Brak bazy reguł (RE*.BRD) do sprawdzenia.")
                                   : "Nie można załadować bazy reguł " + files.rules + ".";
    }
    const auto rows = case_rows(records, vocabulary_of(first->app));
    if (const auto* note = std::get_if<std::string>(&rows)) {
        fs::current_path(start, ec);
        return *note;
    }
    const auto& table = std::get<std::vector<CaseRow>>(rows);
    bases.push_back(std::move(first));
    workers = std::max(1u, std::min<unsigned>(workers, static_cast<unsigned>(table.size())));
    while (bases.size() < workers) bases.push_back(load_base(files));
    fs::current_path(start, ec);

    const FactStore& store = bases.front()->app.store();
    const std::vector<std::string> conclusions = conclusions_of(store);
    const std::set<std::string> broad = rule_conditions(store);
    CaseReport report;
    report.outcomes.resize(table.size());
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    const auto work = [&](LoadedBase& base) {
        for (std::size_t i = next++; i < table.size(); i = next++) {
            try {
                report.outcomes[i] = run_row(base, table[i], conclusions, broad);
            } catch (const std::exception& error) {
                // A fault of one row must not end the others (nor the program, from a thread).
                report.outcomes[i].line = table[i].line;
                report.outcomes[i].status = CaseOutcome::Status::Fail;
                report.outcomes[i].missing = table[i].expected;
                report.outcomes[i].question = error.what();
            }
            ++done;
        }
    };
    std::vector<std::thread> threads;
    for (std::size_t w = 1; w < bases.size(); ++w)
        if (bases[w]) threads.emplace_back(work, std::ref(*bases[w]));
    std::thread first_worker(work, std::ref(*bases.front()));
    while (progress && done.load() < table.size()) {
        progress(done.load(), table.size());
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    first_worker.join();
    for (auto& thread : threads) thread.join();
    if (progress) progress(table.size(), table.size());
    report.coverage = coverage_of(report.outcomes, store, conclusions);
    return report;
}

}  // namespace xamo
