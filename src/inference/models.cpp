#include "inference/models.h"

#include <algorithm>

#include "inference/questions.h"
#include "kb/conditions.h"
#include "kb/numbers.h"

namespace xamo {
namespace {

constexpr std::string_view kGradePrefix = "Ocena_";
const char* const kValueTitle = "Określ wartość argumentu";

bool is_grade(std::string_view name) { return name.starts_with(kGradePrefix); }
bool is_zero_text(std::string_view text) { return text == "0" || text == "0.0"; }
std::string real_text(double value) { return display_real(value); }

const Name& application_condition(const Fact& model) { return AnyModel(model).condition(); }
const Name& result_of(const Fact& model) { return AnyModel(model).result(); }

// Removes a name from a set when the evaluation that added it ends.
class InProgress {
  public:
    InProgress(std::unordered_set<std::string>& set, std::string_view name)
        : set_(set), name_(name) {
        inserted_ = set_.insert(name_).second;
    }
    ~InProgress() {
        if (inserted_) set_.erase(name_);
    }
    InProgress(const InProgress&) = delete;
    InProgress& operator=(const InProgress&) = delete;

  private:
    std::unordered_set<std::string>& set_;
    std::string name_;
    bool inserted_ = false;
};

std::optional<std::int32_t> integer_text(std::string_view text) {
    std::size_t pos = 0;
    std::int32_t value = 0;
    if (scan_integer(text, pos, value) != NumberScan::Ok || pos != text.size()) return std::nullopt;
    return value;
}

// The formula lines of an arithmetic explanation; the dialog lines differ only in indent.
struct Formula {
    std::vector<std::string> screen;
    std::vector<std::string> dialog;
    void add(const std::string& text) { add(text, text); }
    void add(const std::string& on_screen, const std::string& in_dialog) {
        screen.push_back(on_screen);
        dialog.push_back(in_dialog);
    }
};

// Terms "      a * b + " of a linear or polynomial formula, the last without " + ".
void add_terms(Formula& formula, const std::vector<std::string>& terms) {
    for (std::size_t i = 0; i < terms.size(); ++i) {
        formula.add("      " + terms[i] + (i + 1 < terms.size() ? " + " : ""));
    }
}

Formula basic_formula(const Fact& model) {
    Formula formula;
    const Name& result = result_of(model);
    const Name& a1 = Model(model).argument1();
    const Name& symbol = Model(model).symbol();
    const Name& a2 = Model(model).argument2();
    const auto second = constant_value(a2);
    if (second && *second == 0 && symbol != "zaokrąglenie_do_N") {
        formula.add(symbol == "=" ? "    " + result + " = " + a1
                                  : "    " + result + " = " + symbol + "  " + a1);
    } else {
        formula.add("    " + result + " = " + a1 + " " + symbol + " " + a2);
    }
    return formula;
}

Formula extended_formula(const Fact& model) {
    Formula formula;
    formula.add("    " + result_of(model) + " = ");
    const Name& operation = ModelR(model).symbol();
    const NameList& arguments = ModelR(model).variables();
    if (operation == "+" || operation == "*") {
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            const std::string tail = i + 1 < arguments.size() ? "  " + operation : "";
            formula.add("      " + arguments[i] + tail, "       " + arguments[i] + tail);
        }
    } else {
        formula.add("      " + operation + "  " + list_text(arguments));
    }
    return formula;
}

// "    y = " and one line per term "      a * b + ", the last without " + ".
Formula sum_formula(const Fact& model, const std::vector<std::string>& terms) {
    Formula formula;
    formula.add("    " + result_of(model) + " = ");
    add_terms(formula, terms);
    return formula;
}

Formula linear_formula(const Fact& model) {
    const NameList& coefficients = LinearModel(model).coefficients();
    const NameList& variables = LinearModel(model).variables();
    std::vector<std::string> terms;
    for (std::size_t i = 0; i < coefficients.size() && i < variables.size(); ++i) {
        terms.push_back(coefficients[i] + " * " + variables[i]);
    }
    return sum_formula(model, terms);
}

Formula polynomial_formula(const Fact& model) {
    const NameList& coefficients = PolynomialModel(model).coefficients();
    const IntegerList& powers = PolynomialModel(model).powers();
    std::vector<std::string> terms;
    for (std::size_t i = 0; i < coefficients.size() && i < powers.size(); ++i) {
        terms.push_back(coefficients[i] + " * " + PolynomialModel(model).variable() + "^" +
                        std::to_string(powers[i]));
    }
    return sum_formula(model, terms);
}

struct ArithmeticTexts {
    Kind kind;
    const char* header;
    const char* title;
    const char* value_indent;
    Formula (*formula)(const Fact&);
};

constexpr ArithmeticTexts kArithmeticTexts[] = {
    {Kind::model, "Stosuję model arytmetyczny podstawowy ",
     "Wyjaśnienie modelu arytmetycznego podstawowego", "  ", basic_formula},
    {Kind::model_r, "Stosuję model arytmetyczny rozszerzony ",
     "Wyjaśnienie modelu arytmetycznego rozwiniętego", "  ", extended_formula},
    {Kind::model_liniowy, "Stosuję model arytmetyczny liniowy ",
     "Wyjaśnienie modelu arytmetycznego liniowego", "    ", linear_formula},
    {Kind::model_wielomianowy, "Stosuję model arytmetyczny wielomianowy ",
     "Wyjaśnienie modelu arytmetycznego wielomianowego", "    ", polynomial_formula},
};

const ArithmeticTexts& arithmetic_texts(Kind kind) {
    for (const auto& texts : kArithmeticTexts) {
        if (texts.kind == kind) return texts;
    }
    return kArithmeticTexts[0];
}

}  // namespace

std::string relation_text(const Fact& model, const StringList& items) {
    if (model.kind == Kind::model) return items[0] + " " + Model(model).symbol() + " " + items[1];
    const Name& symbol = ModelR(model).symbol();
    if (items.size() != 3) return symbol + " " + list_text(items);
    const auto [first, second] = split_extended_relation(symbol);
    return items[0] + " " + first + " " + items[1] + " " + second + " " + items[2];
}

StringList relation_arguments(const Fact& model) {
    if (model.kind == Kind::model)
        return {Model(model).argument1().str(), Model(model).argument2().str()};
    return ModelR(model).variables().texts();
}

std::int32_t model_number(const Fact& model) { return AnyModel(model).number(); }

std::int32_t display_semaphore(const Fact& model) { return AnyModel(model).display(); }

bool is_relational(const Fact& model) {
    if (model.kind == Kind::model) return is_basic_relation(Model(model).symbol());
    if (model.kind == Kind::model_r) return is_extended_relation(ModelR(model).symbol());
    return false;
}

ModelEvaluator::ModelEvaluator(InferenceContext& ctx) : ctx_(ctx) {
    for (const Fact& model : ctx_.store.all(Kind::model)) {
        const Name& symbol = Model(model).symbol();
        model_results_.insert(result_of(model).str());
        if (is_grade(Model(model).argument1()) && symbol == "=" &&
            is_zero_text(Model(model).argument2()) && display_semaphore(model) == 1) {
            grade_by_argument_[Model(model).argument1().str()].push_back(&model);
        }
        if (symbol == kRuleConditionCount) {
            if (is_zero_text(Model(model).argument2()))
                count_by_result_[result_of(model).str()].push_back(&model);
        } else if (!is_basic_relation(symbol) && !is_extended_relation(symbol)) {
            basic_by_result_[result_of(model).str()].push_back(&model);
        }
    }
    for (Kind kind : {Kind::model_r, Kind::model_liniowy, Kind::model_wielomianowy}) {
        for (const Fact& model : ctx_.store.all(kind)) {
            model_results_.insert(result_of(model).str());
            if (!is_relational(model)) other_by_result_[result_of(model).str()].push_back(&model);
        }
    }
}

bool ModelEvaluator::applied_or_failed(std::int32_t number) const {
    return ctx_.memory.model_stosowany.count(number) > 0 ||
           ctx_.memory.model_bledny.count(number) > 0;
}

void ModelEvaluator::note_failure(const std::string& key, const std::string& text) {
    if (!reported_.insert(key).second) return;
    ctx_.line(text);
    ctx_.ui.note("Uwaga błąd!", text);
}

std::optional<double> ModelEvaluator::oblicz(const std::string& x) { return value_of(x).run(); }

Task<std::optional<double>> ModelEvaluator::value_of(std::string x) {
    ctx_.progress_step();
    if (in_progress_.count(x) > 0) {
        note_failure("cykl " + x, "Cykl w bazie modeli: wartość argumentu " + x +
                                      " jest potrzebna do obliczenia jej samej.");
        co_return std::nullopt;
    }
    if (const auto fixed = ctx_.memory.zmienna_ustalona.get(x)) co_return fixed;
    InProgress guard(in_progress_, x);
    co_return co_await compute(x);
}

Task<std::optional<double>> ModelEvaluator::compute(std::string x) {
    const bool grade = is_grade(x);
    const auto fixed = ctx_.memory.zmienna_ustalona.get(x);
    if (!grade && model_results_.count(x) == 0 && !fixed) {
        if (const auto constant = read_constant(x)) {
            ctx_.memory.zmienna_ustalona.set(x, *constant);
            co_return constant;
        }
        co_return ask_value(x);
    }
    if (fixed) co_return fixed;
    const Found basic = co_await from_basic_model(x);
    if (basic.value || basic.settled) co_return basic.value;
    if (grade) {
        if (auto value = from_grade_model(x)) co_return value;
    } else {
        const Found count = co_await from_condition_count(x);
        if (count.value || count.settled) co_return count.value;
    }
    co_return co_await from_other_models(x);
}

// A value the data-error check removes is asked again at once, so that no model is applied
// with it; cancelling the dialog gives up.
std::optional<double> ModelEvaluator::ask_value(const std::string& x) {
    while (true) {
        ctx_.line("Określ wartość oceny: " + x);
        const auto typed = typed_number(kValueTitle, x);
        if (!typed) return std::nullopt;
        const double value = typed->first;
        ctx_.line(x + "=" + real_text(value));
        ctx_.piszcr();
        ctx_.memory.zmienna_ustalona.set(x, value);
        ctx_.lines.push_back(x + "=" + typed->second);
        szukanie_blednych_danych();
        if (ctx_.memory.zmienna_ustalona.has(x)) return value;
    }
}

Task<ModelEvaluator::Found> ModelEvaluator::from_basic_model(std::string x) {
    const auto found = basic_by_result_.find(x);
    if (found == basic_by_result_.end()) co_return Found{};
    for (const Fact* model : found->second) {
        if (applied_or_failed(model_number(*model))) continue;
        if (!co_await holds(application_condition(*model).str())) continue;
        const auto v1 = co_await value_of(Model(*model).argument1().str());
        if (!v1) continue;
        const auto v2 = co_await value_of(Model(*model).argument2().str());
        if (!v2) continue;
        co_return Found{finish(*model, wykonaj(*v1, *v2, Model(*model).symbol())), true};
    }
    co_return Found{};
}

// The value dialog until it holds a number (a decimal comma is accepted); each other text gets a
// note and the question again. Nothing when the dialog is cancelled.
std::optional<std::pair<double, std::string>> ModelEvaluator::typed_number(
    const std::string& title, const std::string& name) {
    while (true) {
        const auto typed = ctx_.ui.enter_value(title, name);
        if (!typed) return std::nullopt;
        if (const auto value = read_typed_number(*typed)) return std::make_pair(*value, *typed);
        ctx_.ui.note("Uwaga!", "Wartością argumentu " + name +
                                   " musi być liczba,\nnp. 120 albo 120,5.\nPodaj ją jeszcze raz.");
    }
}

std::optional<std::pair<double, std::string>> ModelEvaluator::grade_from_user(
    const std::string& g, const std::string& title) {
    auto grade = typed_number(title, g);
    if (!grade) return std::nullopt;
    if (grade->first < 0 || grade->first > 10) {
        ctx_.pisz("Błąd! Ocena musi być zawarta w przedziale 0 - 10");
        ctx_.ui.note("Błąd!", "Ocena musi być zawarta w przedziale 0 - 10");
        ctx_.piszcr();
        return std::nullopt;
    }
    return grade;
}

// Records a grade the user gave, runs the data-error check and shows the explanation again.
void ModelEvaluator::record_grade(const std::string& g, const std::pair<double, std::string>& grade,
                                  std::vector<std::string> lines, const std::string& title) {
    ctx_.line(g + "=" + real_text(grade.first));
    ctx_.piszcr();
    ctx_.memory.zmienna_ustalona.set(g, grade.first);
    lines.push_back(g + "=" + grade.second);
    szukanie_blednych_danych();
    ctx_.clear_dialog();
    ctx_.lines = std::move(lines);
    ctx_.title = title;
    ctx_.show_dialog();
}

std::optional<double> ModelEvaluator::from_grade_model(const std::string& x) {
    const auto found = grade_by_argument_.find(x);
    if (found == grade_by_argument_.end()) return std::nullopt;
    const Fact& model = *found->second.front();
    const std::string number = std::to_string(model_number(model));
    const Name& w = application_condition(model);
    const Name& y = result_of(model);
    ctx_.clear_dialog();
    ctx_.line("Stosuję model arytmetyczny podstawowy " + number + ":");
    ctx_.line("dla spełnionego warunku startowego: ");
    ctx_.line("    " + w);
    ctx_.line("należy zadeklarować wartość zmiennej: ");
    ctx_.line("    " + x);
    ctx_.line("do której zostanie przyrównany wynik ");
    ctx_.line(y.str());
    const std::vector<std::string> lines{"Stosuję model arytmetyczny podstawowy " + number + ":",
                                         "dla spełnionego warunku startowego:",
                                         "    " + w,
                                         "należy zadeklarować wartość zmiennej: ",
                                         "    " + x,
                                         "do której zostanie przyrównany wynik ",
                                         "    " + y};
    ctx_.lines = lines;
    ctx_.title = "Wyjaśnienie modelu arytmetycznego podstawowego";
    ctx_.show_dialog();
    if (!ctx_.is_askable_argument(x) && !ctx_.is_model_conclusion(x)) return std::nullopt;
    ctx_.line("Deklaruj ocenę  na skali 1 -10: " + x);
    ctx_.line("Deklaruj wartość argumentu: " + x);
    const auto grade = grade_from_user(x, kValueTitle);
    if (!grade) return std::nullopt;
    record_grade(x, *grade, lines, "Wynik deklarowania oceny:");
    ctx_.memory.model_stosowany.insert(model_number(model));
    return grade->first;
}

Task<ModelEvaluator::Found> ModelEvaluator::from_condition_count(std::string x) {
    const auto found = count_by_result_.find(x);
    if (found == count_by_result_.end()) co_return Found{};
    const Fact& model = *found->second.front();
    if (!co_await holds(application_condition(model).str())) co_return Found{std::nullopt, true};
    const auto number = integer_text(Model(model).argument1());
    if (!number) co_return Found{std::nullopt, true};
    for (const Fact& rule : ctx_.store.all(Kind::regula)) {
        if (Rule(rule).number() != *number) continue;
        co_return Found{
            finish(model, Outcome::of(static_cast<double>(Rule(rule).conditions().size()))), true};
    }
    co_return Found{std::nullopt, true};
}

Task<std::optional<std::vector<double>>> ModelEvaluator::values_of(StringList names) {
    std::vector<double> values;
    values.reserve(names.size());
    for (const auto& name : names) {
        const auto value = co_await value_of(name);
        if (!value) co_return std::nullopt;
        values.push_back(*value);
    }
    co_return values;
}

// The value of an extended, linear or polynomial model, or nothing.
Task<std::optional<double>> ModelEvaluator::evaluate_other(const Fact& model) {
    if (model.kind == Kind::model_r) {
        const auto values = co_await values_of(ModelR(model).variables().texts());
        if (!values) co_return std::nullopt;
        co_return finish(model, wykonaj_r(*values, ModelR(model).symbol()));
    }
    if (model.kind == Kind::model_liniowy) {
        const auto coefficients = co_await values_of(LinearModel(model).coefficients().texts());
        if (!coefficients) co_return std::nullopt;
        const auto variables = co_await values_of(LinearModel(model).variables().texts());
        if (!variables) co_return std::nullopt;
        co_return finish(model, wykonaj_liniowy(*coefficients, *variables));
    }
    const auto x = co_await value_of(PolynomialModel(model).variable().str());
    if (!x) co_return std::nullopt;
    const auto coefficients = co_await values_of(PolynomialModel(model).coefficients().texts());
    if (!coefficients) co_return std::nullopt;
    co_return finish(model,
                     wykonaj_wielomianowy(PolynomialModel(model).powers(), *coefficients, *x));
}

Task<std::optional<double>> ModelEvaluator::from_other_models(std::string x) {
    const auto found = other_by_result_.find(x);
    if (found == other_by_result_.end()) co_return std::nullopt;
    for (const Fact* model : found->second) {
        if (model->kind == Kind::model_r && is_grade(x)) continue;
        if (!co_await holds(application_condition(*model).str())) continue;
        if (ctx_.memory.zmienna_ustalona.has(x) || applied_or_failed(model_number(*model)))
            continue;
        if (auto value = co_await evaluate_other(*model)) co_return value;
    }
    co_return std::nullopt;
}

bool ModelEvaluator::report_problem(const Fact& model, const Outcome& outcome) {
    if (outcome.status == Outcome::Status::NoResult) return false;
    if (outcome.status == Outcome::Status::Error) {
        const std::string number = std::to_string(model_number(model));
        ctx_.memory.model_bledny.insert(model_number(model));
        ctx_.line("Błąd arytmetyczny w modelu " + number + ": " + outcome.problem + ".");
        ctx_.ui.note("Uwaga błąd!",
                     "Błąd arytmetyczny w modelu " + number + ":\n" + outcome.problem +
                         ".\nModel nie został zastosowany, wnioskowanie trwa dalej.");
        return false;
    }
    if (outcome.warning == Outcome::Warning::DivisionByZero) {
        ctx_.line("Próba dzielenia przez 0!");
        ctx_.ui.note("Uwaga!", "Próba dzielenia przez 0!");
    } else if (outcome.warning == Outcome::Warning::NegativeRoot) {
        ctx_.ui.note("Uwaga!", "Pierwiastek z liczby ujemnej!");
    }
    return true;
}

std::optional<double> ModelEvaluator::finish(const Fact& model, const Outcome& outcome) {
    if (!report_problem(model, outcome)) return std::nullopt;
    if (model.kind != Kind::model) ctx_.piszcr();
    przedstawienie_zmiennych();
    if (explain_linear || model.kind != Kind::model_liniowy)
        explain_arithmetic(model, outcome.value);
    ctx_.memory.model_stosowany.insert(model_number(model));
    ctx_.memory.zmienna_ustalona.set(result_of(model).str(), outcome.value);
    return outcome.value;
}

bool ModelEvaluator::apply_arithmetic(const Fact& model) { return apply(model).run(); }

Task<bool> ModelEvaluator::apply(const Fact& model) {
    if (is_relational(model)) co_return false;
    if (model.kind == Kind::model && Model(model).symbol() == kRuleConditionCount) co_return false;
    if (!co_await holds(application_condition(model).str())) co_return false;
    const Name& result = result_of(model);
    if (applied_or_failed(model_number(model)) || ctx_.memory.zmienna_ustalona.has(result.str()))
        co_return false;
    if (in_progress_.count(result.str()) > 0) co_return false;
    InProgress guard(in_progress_, result);
    if (model.kind != Kind::model) co_return (co_await evaluate_other(model)).has_value();
    const auto v1 = co_await value_of(Model(model).argument1().str());
    if (!v1) co_return false;
    const auto v2 = co_await value_of(Model(model).argument2().str());
    if (!v2) co_return false;
    co_return finish(model, wykonaj(*v1, *v2, Model(model).symbol())).has_value();
}

bool ModelEvaluator::sprawdz(const std::string& w) { return holds(w).run(); }

Task<bool> ModelEvaluator::holds(std::string w) {
    const InferenceMemory& memory = ctx_.memory;
    const bool forward = !memory.backward_mode();
    const std::string negation = negacja(w);
    if (w == kNoCondition) co_return true;
    if (forward && memory.rbd.established(w)) co_return true;
    if (memory.rbd.has(0, w)) co_return true;
    if (memory.in_rbd_wstecz(w)) co_return true;
    // An earlier answer denying w, in either direction of inference: asked once per run.
    if (memory.rbd.has(0, negation)) co_return false;
    if (forward && memory.rbd.established(negation)) co_return false;
    if (!forward && memory.in_rbd_wstecz(negation)) co_return false;
    if (ctx_.in_askable_conditions_and_arguments(w)) co_return pytaj_o_warunek_stosowania(ctx_, w);
    if (ctx_.in_askable_conditions_and_arguments(negation)) {
        co_return !pytaj_o_warunek_stosowania(ctx_, negation);
    }
    if (forward) co_return false;
    // Backward mode: a condition nothing can be asked about is verified as a hypothesis.
    if (!is_negated(w) || !is_negated(negation)) co_return co_await ctx_.verify_hypothesis(w);
    co_return false;
}

std::optional<std::string> ModelEvaluator::testuj_relacje(bool holds, const std::string& k) const {
    if (holds) return k;
    if (ctx_.memory.rbd.established(k)) return std::nullopt;
    return negacja(k);
}

std::optional<RelationalStep> ModelEvaluator::evaluate_relation(const Fact& model) {
    return relation(model).run();
}

Task<std::optional<RelationalStep>> ModelEvaluator::relation(const Fact& model) {
    const StringList arguments = relation_arguments(model);
    if (model.kind == Kind::model_r && arguments.size() != 3) co_return std::nullopt;
    const auto values = co_await values_of(arguments);
    if (!values) co_return std::nullopt;
    // The data-error check that follows a typed value may have applied this very model.
    if (applied_or_failed(model_number(model))) co_return std::nullopt;
    const Name& k = result_of(model);
    const bool satisfied =
        model.kind == Kind::model
            ? relacja(Model(model).symbol(), (*values)[0], (*values)[1])
            : relacja_r(ModelR(model).symbol(), (*values)[0], (*values)[1], (*values)[2]);
    auto reached = testuj_relacje(satisfied, k.str());
    if (!reached) co_return std::nullopt;
    co_return RelationalStep{&model, std::move(*reached), *values};
}

// The relational explanation; without values (a model not yet applied) the lines of the values
// and of the conclusion they give are left out.
void ModelEvaluator::explain_relation_lines(const Fact& model, const std::string& reached,
                                            const std::vector<double>* values) {
    const bool basic = model.kind == Kind::model;
    const bool own = reached == result_of(model);
    const std::string number = std::to_string(model_number(model));
    ctx_.clear_dialog();
    ctx_.line_and_dialog(
        (basic ? "Stosuję model relacyjny podstawowy " : "Stosuję model relacyjny rozwinięty ") +
        number + ":");
    ctx_.line_and_dialog("dla spełnionego warunku startowego:");
    ctx_.line_and_dialog("    " + application_condition(model));
    ctx_.line_and_dialog("prawdą jest: ");
    ctx_.line_and_dialog("    " + reached);
    ctx_.line_and_dialog("jeżeli");
    ctx_.line_and_dialog("    " + relation_text(model, relation_arguments(model)));
    if (values != nullptr) {
        std::vector<std::string> texts;
        for (double v : *values) texts.push_back(real_text(v));
        ctx_.line_and_dialog("Dla modelu " + number +
                             (own ? " jest spełniona relacja: " : " nie jest spełniona relacja: "));
        ctx_.line_and_dialog("    " + relation_text(model, texts));
        ctx_.line_and_dialog("Stąd wynika wniosek: ");
        ctx_.line_and_dialog("   " + reached);
    }
    ctx_.title = !basic ? "Wyjaśnienie modelu relacyjnego rozwiniętego"
                 : own  ? "Wyjaśnienie modelu relacyjnego podstawowego"
                        : "Wyjaśnienie modelu  relacyjnego podstawowego";
}

void ModelEvaluator::explain_unapplied(const Fact& model) {
    if (model.kind != Kind::model || !is_relational(model)) {
        explain_arithmetic(model, ctx_.memory.zmienna_ustalona.get(result_of(model).str()));
        return;
    }
    if (display_semaphore(model) != 1) return;
    std::vector<double> values;
    for (const auto& field : relation_arguments(model)) {
        auto value = read_constant(field);
        if (!value) value = ctx_.memory.zmienna_ustalona.get(field);
        if (!value) break;
        values.push_back(*value);
    }
    const Name& k = result_of(model);
    if (values.size() == 2) {
        const bool holds = relacja(Model(model).symbol(), values[0], values[1]);
        explain_relation_lines(model, holds ? k.str() : negacja(k), &values);
    } else {
        explain_relation_lines(model, k.str(), nullptr);
    }
    ctx_.show_dialog();
}

void ModelEvaluator::explain_relation(const RelationalStep& step, bool ask_grade) {
    const Fact& model = *step.model;
    if (display_semaphore(model) != 1) return;
    explain_relation_lines(model, step.reached, &step.values);
    const std::vector<std::string> lines = ctx_.lines;
    ctx_.show_dialog();
    if (!ask_grade) return;
    const std::string g = std::string(kGradePrefix) + step.reached;
    if (ctx_.memory.zmienna_ustalona.has(g)) return;
    if (!ctx_.is_askable_argument(g) && !ctx_.is_model_conclusion(g)) return;
    ctx_.line("Określ ocenę wniosku na skali 1 -10: " + g);
    ctx_.line("Określ wartość oceny: " + g);
    const auto grade = grade_from_user(g, "Określ ocenę  wniosku na skali 1 - 10!");
    if (!grade) return;
    record_grade(g, *grade, lines, "Wynik określenia oceny:");
}

void ModelEvaluator::explain_arithmetic(const Fact& model, std::optional<double> value) {
    if (display_semaphore(model) != 1) return;
    const ArithmeticTexts& texts = arithmetic_texts(model.kind);
    const Formula formula = texts.formula(model);
    ctx_.clear_dialog();
    ctx_.piszcr();
    ctx_.line_and_dialog(texts.header + std::to_string(model_number(model)) + ":");
    ctx_.line_and_dialog("dla spełnionego warunku startowego:");
    ctx_.line_and_dialog("    " + application_condition(model));
    ctx_.line_and_dialog("zachodzi: ");
    for (const auto& text : formula.screen) ctx_.line(text);
    ctx_.lines.insert(ctx_.lines.end(), formula.dialog.begin(), formula.dialog.end());
    if (value) {
        ctx_.line_and_dialog("Stąd wynika wartość: ");
        ctx_.line_and_dialog(texts.value_indent + result_of(model) + " = " + real_text(*value));
    }
    ctx_.piszcr();
    ctx_.title = texts.title;
    ctx_.show_dialog();
}

void ModelEvaluator::przedstawienie_zmiennych() {
    if (!ctx_.detailed()) return;
    ctx_.clear_dialog();
    ctx_.line("Dane są wartości następujących argumentów:");
    for (const auto& [name, value] : ctx_.memory.zmienna_ustalona) {
        if (FixedValues::is_literal(name)) continue;
        ctx_.line_and_dialog("    " + name + "=" + real_text(value));
    }
    ctx_.title = "Dane są wartości następujących argumentów:";
    ctx_.show_dialog();
}

void ModelEvaluator::przedstawienie_zmiennych_pierwotnych() {
    ctx_.line("W bazie modeli są wartości następujących argumentów:");
    ctx_.clear_dialog();
    ctx_.title = "W bazie modeli są wartości następujących argumentów:";
    for (const Fact& known : ctx_.store.all(Kind::argument_znany)) {
        ctx_.line_and_dialog("    " + KnownArgument(known).argument() + "=" +
                             real_text(KnownArgument(known).value()));
    }
    ctx_.show_dialog();
}

// A value the data-error check can use without asking or computing anything: a fixed value or
// a numeric literal (fixed under its text, as oblicz does).
std::optional<double> ModelEvaluator::value_at_hand(const std::string& name) {
    if (const auto fixed = ctx_.memory.zmienna_ustalona.get(name)) return fixed;
    if (model_results_.count(name) > 0 || is_grade(name)) return std::nullopt;
    const auto constant = read_constant(name);
    if (constant) ctx_.memory.zmienna_ustalona.set(name, *constant);
    return constant;
}

bool ModelEvaluator::try_data_error_model(const Fact& model) {
    if (result_of(model) != kDataError || !is_relational(model)) return false;
    if (applied_or_failed(model_number(model))) return false;
    const StringList arguments = relation_arguments(model);
    if (model.kind == Kind::model_r && arguments.size() != 3) return false;
    std::vector<double> values;
    for (const auto& name : arguments) {
        const auto value = value_at_hand(name);
        if (!value) return false;
        values.push_back(*value);
    }
    if (!sprawdz(application_condition(model).str())) return false;
    const bool holds = model.kind == Kind::model
                           ? relacja(Model(model).symbol(), values[0], values[1])
                           : relacja_r(ModelR(model).symbol(), values[0], values[1], values[2]);
    if (!holds) return false;
    przedstawienie_faktow(ctx_);
    przedstawienie_zmiennych();
    explain_relation({&model, std::string(kDataError), values}, false);
    for (const auto& name : arguments) ctx_.memory.zmienna_ustalona.remove(name);
    ctx_.memory.model_stosowany.insert(model_number(model));
    ctx_.ui.note("Pomyłka we wprowadzonych danych!",
                 "Błędne dane zostały usunięte. Wnioskuj dalej i w odpowiednim miejscu wprowadź "
                 "poprawione dane.");
    return true;
}

void ModelEvaluator::szukanie_blednych_danych() {
    if (checking_data_) return;
    checking_data_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{checking_data_};
    for (Kind kind : {Kind::model, Kind::model_r}) {
        for (const Fact& model : ctx_.store.all(kind)) {
            if (try_data_error_model(model)) return;
        }
    }
}

}  // namespace xamo
