// Model application: the value of a quantity on demand (oblicz), the application condition
// (sprawdz), the conclusion of relational models, the questions for argument values and grades,
// the data-error check, and the explanation texts of every model kind.
//
// Invariants:
// - a quantity gets at most one fixed value per run (FixedValues), a model is applied at most once
//   (model_stosowany); a model whose arithmetic failed is reported once and never applied
//   (model_bledny);
// - a quantity under evaluation is in `in_progress_`: needing it again is a cycle among models and
//   fails for that quantity;
// - evaluation is a set of coroutines (task.h): a quantity computed through a chain of models,
//   or an application condition verified as a hypothesis by backward inference inside the
//   evaluation, nests on the heap, so chains of any length take no C++ stack. The synchronous
//   entries (oblicz, sprawdz, apply_arithmetic, evaluate_relation) run one evaluation each.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "inference/context.h"
#include "inference/task.h"
#include "kb/operations.h"

namespace xamo {

inline constexpr std::string_view kDataError = "Pomyłka we wprowadzonych danych";

// The conclusion a relational model reached, with what its explanation needs.
struct RelationalStep {
    const Fact* model = nullptr;
    std::string reached;
    std::vector<double> values;
};

class ModelEvaluator {
  public:
    explicit ModelEvaluator(InferenceContext& ctx);

    // Backward inference applies linear models without their explanation.
    bool explain_linear = true;

    // The value of a quantity or numeric literal, computing, asking and explaining as needed.
    std::optional<double> oblicz(const std::string& x);
    Task<std::optional<double>> value_of(std::string x);
    // The application condition holds.
    bool sprawdz(const std::string& w);
    Task<bool> holds(std::string w);
    // The conclusion reached for conclusion k when the relation does or does not hold.
    std::optional<std::string> testuj_relacje(bool holds, const std::string& k) const;

    // Forward application of one arithmetic model (a `model`, `model_r`, `model_liniowy` or
    // `model_wielomianowy` fact): tests, values, explanation and the fixed value. True when
    // applied.
    bool apply_arithmetic(const Fact& model);
    Task<bool> apply(const Fact& model);
    // Values and conclusion of a relational `model` or `model_r`; nothing when no value can be
    // had or nothing new follows. The caller has tested the application condition.
    std::optional<RelationalStep> evaluate_relation(const Fact& model);
    Task<std::optional<RelationalStep>> relation(const Fact& model);
    // The relational explanation and, after it, the grade question.
    void explain_relation(const RelationalStep& step, bool ask_grade = true);
    // The explanation of an arithmetic model that gave `value`; without a value the lines of
    // the value are left out.
    void explain_arithmetic(const Fact& model, std::optional<double> value);
    // The explanation of a model not yet applied (asked about its application condition): the
    // model and its formula always, the lines of its values only for values already known.
    void explain_unapplied(const Fact& model);

    void przedstawienie_zmiennych();
    void przedstawienie_zmiennych_pierwotnych();
    void szukanie_blednych_danych();

    bool applied_or_failed(std::int32_t number) const;

  private:
    // A value from one alternative of oblicz; `settled` when no later alternative is tried.
    struct Found {
        std::optional<double> value;
        bool settled = false;
    };

    void explain_relation_lines(const Fact& model, const std::string& reached,
                                const std::vector<double>* values);
    Task<std::optional<double>> compute(std::string x);
    std::optional<double> ask_value(const std::string& x);
    Task<Found> from_basic_model(std::string x);
    std::optional<double> from_grade_model(const std::string& x);
    Task<Found> from_condition_count(std::string x);
    Task<std::optional<double>> from_other_models(std::string x);
    std::optional<double> finish(const Fact& model, const Outcome& outcome);
    Task<std::optional<double>> evaluate_other(const Fact& model);
    Task<std::optional<std::vector<double>>> values_of(StringList names);
    std::optional<std::pair<double, std::string>> typed_number(const std::string& title,
                                                               const std::string& name);
    std::optional<std::pair<double, std::string>> grade_from_user(const std::string& g,
                                                                  const std::string& title);
    void record_grade(const std::string& g, const std::pair<double, std::string>& grade,
                      std::vector<std::string> lines, const std::string& title);
    bool report_problem(const Fact& model, const Outcome& outcome);
    void note_failure(const std::string& key, const std::string& text);
    std::optional<double> value_at_hand(const std::string& name);
    bool try_data_error_model(const Fact& model);

    InferenceContext& ctx_;
    // Models by their result, in base order, per alternative of oblicz.
    std::unordered_map<std::string, std::vector<const Fact*>> basic_by_result_;
    std::unordered_map<std::string, std::vector<const Fact*>> grade_by_argument_;
    std::unordered_map<std::string, std::vector<const Fact*>> count_by_result_;
    std::unordered_map<std::string, std::vector<const Fact*>> other_by_result_;
    std::unordered_set<std::string> model_results_;
    std::unordered_set<std::string> in_progress_;
    std::unordered_set<std::string> reported_;
    bool checking_data_ = false;
};

std::int32_t model_number(const Fact& model);
std::int32_t display_semaphore(const Fact& model);
bool is_relational(const Fact& model);
// The arguments of a relational model, and its relation over `items` (the arguments' names or
// values): "a rel b" or, for an extended relation, "a r1 b r2 c".
StringList relation_arguments(const Fact& model);
std::string relation_text(const Fact& model, const StringList& items);

}  // namespace xamo
