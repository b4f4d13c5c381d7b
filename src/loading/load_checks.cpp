#include "loading/load_checks.h"

#include <string_view>
#include <unordered_set>
#include <vector>

#include "askable/askable.h"
#include "askable/list_ops.h"
#include "dialog/interaction.h"
#include "dialog/write_lines.h"
#include "kb/conditions.h"
#include "kb/model_symbols.h"

namespace xamo {
namespace {

void write_model_fix_lines(UserInteraction& ui) {
    write_lines(ui, {"Przejdź do 'Bazy modeli,'", "wybierz opcję 'Edycja bazy modeli', ",
                     "wybierz błędną bazę i usuń błąd."});
}

void report_bad_operation(UserInteraction& ui, const Name& symbol, std::int32_t number) {
    const std::string text =
        "Błędna operacja/relacja " + symbol + " dla modelu " + std::to_string(number) + ".";
    write_line(ui, text);
    write_model_fix_lines(ui);
    ui.note("Uwaga błąd!", text +
                               "\n\nPrzejdź do 'Bazy modeli', wybierz opcję 'Edycja bazy modeli',"
                               "\na następnie wybierz błędną bazę i usuń błąd.");
}

// One kind of model whose two lists must have equal length.
struct ListPair {
    Kind kind;
    std::size_t first;
    std::size_t second;
    const char* opening;  // + number
    const char* lists;
};

std::size_t list_size(const Fact& fact, std::size_t field) {
    if (const auto* numbers = std::get_if<IntegerList>(&fact.fields[field])) return numbers->size();
    return std::get<NameList>(fact.fields[field]).size();
}

void report_unequal_lists(UserInteraction& ui, const ListPair& pair, std::int32_t number) {
    const std::string head = pair.opening + std::to_string(number) + pair.lists;
    write_lines(ui, {head, "są różnej długości."});
    write_model_fix_lines(ui);
    ui.note("Uwaga błąd!", head +
                               "\nsą różnej długości.\n\nPrzejdź do 'Bazy modeli', następnie "
                               "wybierz błędną bazę i usuń błąd.");
}

bool tautological(const Fact& model) {
    if (is_constant(Model(model).argument1())) return false;
    const Name& symbol = Model(model).symbol();
    const auto value = constant_value(Model(model).argument2());
    if (!value) return false;
    if (symbol == "=" || symbol == "+" || symbol == "-") return *value == 0.0;
    if (symbol == "*" || symbol == "/") return *value == 1.0;
    return false;
}

}  // namespace

std::vector<std::string_view> declared_not_askable(const FactStore& store, const TextSet& askable) {
    // Views of the facts, negations stripped: a large base declares hundreds of thousands.
    const auto name_of = [](const Fact& fact) {
        const std::string_view text = TextFact(fact).text();
        return is_negated(text) ? text.substr(1) : text;
    };
    constexpr std::size_t kAhead = 8;  // facts whose lookups are in flight
    const auto& declared = store.all(Kind::fakt);
    std::vector<std::string_view> facts;
    for (std::size_t i = 0; i < declared.size(); ++i) {
        if (i + kAhead < declared.size()) askable.prefetch(name_of(declared[i + kAhead]));
        if (!askable.contains(name_of(declared[i]))) facts.push_back(name_of(declared[i]));
    }
    return facts;
}

bool check_declared_facts(KnowledgeBase& kb, const std::vector<std::string_view>& facts) {
    // An askable condition is a condition of the rules, so only the others are looked for among
    // the conditions.
    if (facts.empty()) return true;
    const StringList wrong = difference_views(facts, kb.askable.lista_warunkow);
    if (wrong.empty()) return true;
    UserInteraction& ui = kb.ui;
    write_lines(ui,
                {"Błędne fakty bazy reguł.", "Następujące fakty nie są warunkami dopytywalnymi: "});
    write_lines(ui, wrong);
    write_lines(ui, {"Przejdź do 'Bazy reguł dokładnej',",
                     "wybierz opcję 'Edycja bazy reguł', wybierz błędną bazę ",
                     "i usuń fakty nie będące warunkami dopytywalnymi!"});
    ui.new_line();
    kb.store.remove_all(Kind::fakt);
    ui.note("Błędne fakty bazy reguł!",
            "Następujące fakty nie są warunkami dopytywalnymi: \n   " + list_text(wrong) +
                "\nPrzejdź do 'Bazy reguł dokładnej',"
                "\nwybierz opcję 'Edycja bazy reguł', wybierz błędną bazę "
                "\ni usuń fakty nie będące warunkami dopytywalnymi lub"
                "\nwprowadź odpowiednie warunki dopytywalne do reguł.");
    return false;
}

std::vector<const Fact*> single_condition_rules(const FactStore& store) {
    std::vector<const Fact*> single;
    for (const Fact& rule : store.all(Kind::regula)) {
        if (Rule(rule).conditions().size() == 1) single.push_back(&rule);
    }
    return single;
}

void report_single_condition_rules(KnowledgeBase& kb, const std::string& name) {
    const std::vector<const Fact*> single = single_condition_rules(kb.store);
    if (single.empty()) return;
    UserInteraction& ui = kb.ui;
    write_lines(ui, {"Baza reguł " + name, "ma przynajmniej jedną regułę z pojedynczym warunkiem.",
                     "W przypadku baz dokładnych reguła taka może być tautologią, zastępującą",
                     "jedno określenie (warunek) innym określeniem (wniosek) i czyniąc",
                     "tym samym bazę reguł mniej przejrzystą i czytelną."});
    const bool show = ui.confirm(
        "Wybierz:", "Baza reguł rozwinięta dokładna\n   " + name +
                        "\nma przynajmniej jedną regułę z pojedynczym warunkiem.\n\nReguła taka "
                        "może być tautologią, zastępującą jedno \nokreślenie (warunek) innym "
                        "określeniem (wniosek) "
                        "\ni czyniąc tym samym bazę reguł mniej przejrzystą i \nczytelną.\n\n"
                        "Chcesz zobaczyć reguły  z pojedynczym warunkiem?");
    for (std::size_t i = 0; show && i < single.size(); ++i) {
        const Fact& rule = *single[i];
        const std::string number = std::to_string(Rule(rule).number());
        const Name& conclusion = Rule(rule).conclusion();
        const std::string condition = Rule(rule).conditions().front().str();
        write_lines(ui, {"W bazie reguł " + name + " jest:",
                         "Reguła " + number + " z wnioskiem '" + conclusion + "'",
                         "i z pojedynczym warunkiem '" + condition + "'."});
        if (!ui.confirm("Reguła z pojedynczym warunkiem",
                        "W bazie reguł rozwiniętej dokładnej\n  " + name + "\njest reguła " +
                            number + " z wnioskiem\n   " + conclusion +
                            ",\ni z pojedynczym warunkiem\n   " + condition + "." +
                            "\n\nChcesz zobaczyć następną regułę z pojedynczym warunkiem?")) {
            break;
        }
    }
    write_lines(ui, {"Jeżeli uznasz regułę za tautologiczną,", "to przejdź do 'Baza reguł',",
                     "wybierz opcję 'Edycja bazy reguł',", "wybierz błędną bazę i usuń tautologię.",
                     "Jeżeli nie, to przejdź do ładowania pozostałych baz."});
    ui.note("Zalecenie",
            "Jeżeli uznasz regułę za tautologiczną, to przejdź do \n   'Bazy reguł dokładnej',\n"
            "wybierz opcję\n   'Edycja bazy reguł', \nwybierz błędną bazę i usuń tautologię.\n\n"
            "Jeżeli nie, to przejdź do ładowania pozostałych baz.");
}

bool find_bad_operation(KnowledgeBase& kb) {
    for (const Fact& model : kb.store.all(Kind::model)) {
        if (!is_model_symbol(Model(model).symbol())) {
            report_bad_operation(kb.ui, Model(model).symbol(), Model(model).number());
            return true;
        }
    }
    for (const Fact& model : kb.store.all(Kind::model_r)) {
        if (!is_model_r_symbol(ModelR(model).symbol())) {
            report_bad_operation(kb.ui, ModelR(model).symbol(), ModelR(model).number());
            return true;
        }
    }
    return false;
}

bool find_unequal_lists(KnowledgeBase& kb) {
    static const ListPair pairs[] = {
        {Kind::model_liniowy, LinearModel::coefficients_field, LinearModel::variables_field,
         "W modelu liniowym ", " lista współczynników i lista zmiennych"},
        {Kind::model_wielomianowy, PolynomialModel::coefficients_field,
         PolynomialModel::powers_field, "W modelu wielomianowym ",
         " lista współczynników i lista potęg"},
    };
    for (const ListPair& pair : pairs) {
        for (const Fact& model : kb.store.all(pair.kind)) {
            if (list_size(model, pair.first) != list_size(model, pair.second)) {
                report_unequal_lists(kb.ui, pair, AnyModel(model).number());
                return true;
            }
        }
    }
    return false;
}

bool find_bad_known_arguments(KnowledgeBase& kb, const std::string& name) {
    StringList known;
    for (const Fact& fact : kb.store.all(Kind::argument_znany))
        known.push_back(KnownArgument(fact).argument().str());
    const StringList wrong = difference(known, kb.askable.lista_argumentow_dopytywalnych);
    if (wrong.empty()) return false;
    UserInteraction& ui = kb.ui;
    write_lines(ui, {"Błędne argumenty znane bazy modeli " + name + ".",
                     "Następujące argumenty znane nie są argumentami dopytywalnymi: "});
    write_lines(ui, wrong);
    write_lines(ui, {"Przejdź do 'Bazy modeli dokładnej',",
                     "wybierz opcję 'Edycja bazy modeli', wybierz błędną bazę ",
                     "i usuń argumenty znane nie będące argumentami dopytywalnymi!"});
    ui.note("Błędne argumenty znane bazy modeli ",
            "Następujące argumenty znane \nnie są argumentami dopytywalnymi:\n   " +
                list_text(wrong) +
                "\nPrzejdź do 'Bazy modeli dokładnej',"
                "\nwybierz opcję 'Edycja bazy modeli', \nwybierz błędną bazę "
                "\ni usuń argumenty znane nie będące \nargumentami dopytywalnymi!");
    return true;
}

void report_tautological_models(KnowledgeBase& kb, const std::string& name) {
    auto& found = kb.load.model_tautologiczny;
    found.clear();
    for (const Fact& model : kb.store.all(Kind::model)) {
        if (tautological(model))
            found.push_back({Model(model).number(), Model(model).result().str(),
                             Model(model).argument1().str()});
    }
    if (found.empty()) return;
    UserInteraction& ui = kb.ui;
    write_lines(ui, {"Baza modeli " + name, "ma przynajmniej jeden model arytmetyczny ",
                     "przyrównujący jedna nazwę zmiennej do innej.",
                     "Model taki jest tautologią, zastępującą",
                     "jedna nazwę zmiennej inną nazwą zmienej i wpływającą",
                     "na przejrzystość i czytelność bazy modeli."});
    const bool show =
        ui.confirm("Wybierz:", "Baza modeli rozwinięta dokładna\n   " + name +
                                   "\nma przynajmniej jeden model arytmetyczny "
                                   "\nprzyrównujący jedną nazwę zmiennej do innej."
                                   "\n\nModel taki jest tautologią, zastępującą"
                                   "\njedną nazwę zmiennej inną nazwą zmienej i wpływającą"
                                   "\nna przejrzystość i czytelność bazy modeli."
                                   "\n\nChcesz wiedzieć, które modele są  tautologiczne?");
    for (std::size_t i = 0; show && i < found.size(); ++i) {
        const auto& model = found[i];
        const std::string number = std::to_string(model.number);
        write_lines(ui, {"Model " + number + " jest tautologiczny: zastępuje zmienną '" +
                             model.argument + "'",
                         "inną zmienną '" + model.result + "'"});
        if (!ui.confirm("Model tautologiczny",
                        "Model " + number + " jest tautologiczny: zastępuje zmienną \n     " +
                            model.argument + "\ninną zmienną \n     " + model.result +
                            "\n\nChcesz zobaczyć następny model tautologiczny?")) {
            break;
        }
    }
    write_lines(ui, {"W pewnych sytuacjach modele tautologiczne czynią bazę modeli",
                     "bardziej czytelną, w innych - mogą zaciemniać bazę modeli. "});
}

bool find_short_constraint(KnowledgeBase& kb, const std::string& name) {
    for (const Fact& constraint : kb.store.all(Kind::ograniczenie)) {
        const NameList& members = Constraint(constraint).members();
        if (members.size() >= 2) continue;
        const std::string number = std::to_string(Constraint(constraint).number());
        const std::string list = list_text(members);
        write_lines(
            kb.ui, {"Baza ograniczeń " + name,
                    "ma ograniczenie " + number + " z listą warunków dopytywalnych",
                    "wzajemnie wykluczających się, zawierającą mniej niż dwa warunki: ",
                    "    " + list, "Przejdź do 'Baza ograniczeń'",
                    "wybierz opcję 'Edycja bazy ograniczeń',", "wybierz błędną bazę i usuń błąd."});
        kb.ui.note("Uwaga błąd!",
                   "Baza ograniczeń rozwinięta dokładna\n   " + name + "\nma ograniczenie " +
                       number +
                       ".\nz listą warunków dopytywalnych wzajemnie wykluczających się,\n"
                       "zawierającą mniej niż dwa warunki:\n\n" +
                       list +
                       "\n\nPrzejdź do 'Bazy ograniczeń dokładnej', wybierz opcję 'Edycja bazy "
                       "ograniczeń'\nnastępnie wybierz błędną bazę i usuń błąd.");
        return true;
    }
    return false;
}

bool find_non_askable_member(KnowledgeBase& kb, const std::string& name) {
    const StringList& askable = askable_for_constraints(kb.store, kb.askable);
    const std::unordered_set<std::string> allowed(askable.begin(), askable.end());
    for (const Fact& constraint : kb.store.all(Kind::ograniczenie)) {
        for (const Name& listed : Constraint(constraint).members()) {
            const std::string member = listed.str();
            if (allowed.contains(member)) continue;
            const std::string number = std::to_string(Constraint(constraint).number());
            write_lines(
                kb.ui,
                {"W bazie ograniczeń dokładnej mogą być wyłącznie listy warunków dopytywalnych",
                 "wykluczających się.",
                 "Warunek '" + member + "' w ograniczeniu " + number +
                     " bazy ograniczeń dokładnej " + name + " nie jest warunkiem dopytywalnym.",
                 "Możesz:", "1. Przejść do 'Bazy ograniczeń dokładnej, ",
                 "   wybrać opcję 'Edycja bazy ograniczeń',",
                 "   załadować błędną bazę ograniczeń i usunąć błędne ograniczenie,",
                 "        lub: ", "2. Przejść do 'Baza reguł dokładnej'",
                 "   wybrać opcję 'Edycja bazy reguł'",
                 "   i wprowadzić do odpowiedniej reguły pominięty warunek dopytywalny."});
            kb.ui.note(
                "Uwaga błąd!",
                "W bazie ograniczeń rozwiniętej dokładnej mogą być wyłącznie \nlisty warunków "
                "dopytywalnych wykluczających się.\n\nWarunek\n   " +
                    member + "\nw ograniczeniu " + number + " bazy ograniczeń dokładnej\n   " +
                    name +
                    "\nnie jest warunkiem dopytywalnym.\n\nMożesz:\n1. Przejść do 'Bazy ograniczeń "
                    "dokładnej', wybrać opcję 'Edycja bazy ograniczeń',\nzaładować błędną bazę "
                    "ograniczeń i usunąć błędne ograniczenie,"
                    "\nlub\n2. Przejść do 'Baza reguł dokładnej', wybrać opcję 'Edycja bazy "
                    "reguł'\ni wprowadzić do odpowiedniej reguły pominięty warunek dopytywalny.");
            return true;
        }
    }
    return false;
}

}  // namespace xamo
