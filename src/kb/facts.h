// The fact store: every base section, the file-name facts and the report text, each a fixed table
// of fact kinds (functor + field types). Facts of one kind keep the order in which they were added.
// Working facts of the inference, diagnosis and analysis commands are kept by their own subsystems
// in typed structures (see WorkingSection), so that lookups there can be indexed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "kb/names.h"

namespace xamo {

enum class FieldType { Integer, Real, String, StringList, IntegerList };

using IntegerList = std::vector<std::int32_t>;
// List fields hold names (names.h): a text repeated across facts is kept once.
using FieldValue = std::variant<std::int32_t, double, Name, NameList, IntegerList>;

enum class Section { Rules, Models, Constraints, Advice, Graphics, Sounds, Names, Report };
inline constexpr std::size_t kSectionCount = 8;

// Every fact kind, grouped by section in declaration order (the order the writer uses).
enum class Kind {
    // rule base
    fakt,
    lista_wszystkich_dopytywalnych_dla_wyswietlania,
    lista_wnioskow_regul,
    lista_warunkow,
    regula,
    rem_regula,
    off_fakt,
    off_regula,
    // model base
    arg_dopyt,
    argument_znany,
    m_fakt,
    model,
    model_r,
    model_liniowy,
    model_wielomianowy,
    modele_ekskluzywne,
    nazwa_pliku_war_arg,
    rem_model,
    rem_model_r,
    rem_model_liniowy,
    rem_model_wielomianowy,
    off_argument_znany,
    off_model,
    off_model_liniowy,
    off_model_r,
    off_model_wielomianowy,
    off_modele_ekskluzywne,
    off_m_fakt,
    rem_modele_ekskluzywne,
    // constraint base
    ograniczenie,
    nazwa_og,
    nazwa_og_pelna,
    rem_ograniczenie,
    off_ograniczenie,
    // advice base
    rada,
    nrada,
    rem_rada,
    rem_nrada,
    off_rada,
    off_nrada,
    // graphics base
    grafika,
    ngrafika,
    // sound base
    dzwiek,
    ndzwiek,
    // file names
    nazwa_re,
    nazwa_re_pelna,
    nazwa_mo,
    nazwa_mo_pelna,
    nazwa_ra,
    nazwa_ra_pelna,
    nazwa_gr,
    nazwa_me,
    sciezka,
    sciezka1,
    sciezka2,
    wyroznik,
    rozszerzenie,
    // report
    tekst_raportu,
    Count_
};
inline constexpr std::size_t kKindCount = static_cast<std::size_t>(Kind::Count_);

struct KindInfo {
    Kind kind;
    Section section;
    std::string_view functor;  // UTF-8, exactly as written in files
    std::vector<FieldType> fields;
};

const KindInfo& kind_info(Kind kind);
// The kinds of one section in declaration order.
const std::vector<Kind>& section_kinds(Section section);

struct Fact {
    Kind kind;
    std::vector<FieldValue> fields;

    bool operator==(const Fact&) const = default;
};

// --- named fields ----------------------------------------------------------------------------
// Each layout names the fields of the fact kinds that share it, in file order; the kind table
// (facts.cpp) takes the field types from here, so names and types are declared once. A view reads
// a fact of such a kind by name: Rule(fact).conclusion(); Rule::conclusion_field is its position.
// clang-format off
#define XAMO_LAYOUT_TEXT(F) F(0, String, text)
#define XAMO_LAYOUT_LIST(F) F(0, StringList, items)
#define XAMO_LAYOUT_RULE(F) \
    F(0, Integer, number) F(1, String, conclusion) F(2, StringList, conditions) \
    F(3, Integer, display)
#define XAMO_LAYOUT_KNOWN_ARGUMENT(F) F(0, String, argument) F(1, Real, value)
#define XAMO_LAYOUT_MODEL(F) \
    F(0, Integer, number) F(1, String, condition) F(2, String, result) \
    F(3, String, argument1) F(4, String, symbol) F(5, String, argument2) F(6, Integer, display)
#define XAMO_LAYOUT_MODEL_R(F) \
    F(0, Integer, number) F(1, String, condition) F(2, String, result) \
    F(3, String, symbol) F(4, StringList, variables) F(5, Integer, display)
#define XAMO_LAYOUT_LINEAR_MODEL(F) \
    F(0, Integer, number) F(1, String, condition) F(2, String, result) \
    F(3, StringList, coefficients) F(4, StringList, variables) F(5, Integer, display)
#define XAMO_LAYOUT_POLYNOMIAL_MODEL(F) \
    F(0, Integer, number) F(1, String, condition) F(2, String, result) \
    F(3, String, variable) F(4, StringList, coefficients) F(5, IntegerList, powers) \
    F(6, Integer, display)
#define XAMO_LAYOUT_CONSTRAINT(F) F(0, Integer, number) F(1, StringList, members)
#define XAMO_LAYOUT_MEDIA(F) F(0, Integer, number) F(1, String, name)
// clang-format on

namespace field_types {
using Integer = std::int32_t;
using Real = double;
using String = xamo::Name;
using StringList = xamo::NameList;
using IntegerList = xamo::IntegerList;
}  // namespace field_types

#define XAMO_FIELD_ACCESSOR(index, type, name)                  \
    const field_types::type& name() const {                     \
        return std::get<field_types::type>(fact.fields[index]); \
    }
#define XAMO_FIELD_INDEX(index, type, name) static constexpr std::size_t name##_field = index;
#define XAMO_FIELD_TYPE(index, type, name) FieldType::type,
#define XAMO_FACT_VIEW(View, LAYOUT)                                                \
    struct View {                                                                   \
        const Fact& fact;                                                           \
        explicit View(const Fact& f) : fact(f) {}                                   \
        LAYOUT(XAMO_FIELD_ACCESSOR)                                                 \
        LAYOUT(XAMO_FIELD_INDEX)                                                    \
        static std::vector<FieldType> types() { return {LAYOUT(XAMO_FIELD_TYPE)}; } \
    };

XAMO_FACT_VIEW(TextFact, XAMO_LAYOUT_TEXT)
XAMO_FACT_VIEW(ListFact, XAMO_LAYOUT_LIST)
XAMO_FACT_VIEW(Rule, XAMO_LAYOUT_RULE)
XAMO_FACT_VIEW(KnownArgument, XAMO_LAYOUT_KNOWN_ARGUMENT)
XAMO_FACT_VIEW(Model, XAMO_LAYOUT_MODEL)
XAMO_FACT_VIEW(ModelR, XAMO_LAYOUT_MODEL_R)
XAMO_FACT_VIEW(LinearModel, XAMO_LAYOUT_LINEAR_MODEL)
XAMO_FACT_VIEW(PolynomialModel, XAMO_LAYOUT_POLYNOMIAL_MODEL)
XAMO_FACT_VIEW(Constraint, XAMO_LAYOUT_CONSTRAINT)
XAMO_FACT_VIEW(MediaEntry, XAMO_LAYOUT_MEDIA)

// The fields every model kind shares: number, application condition and result first, the
// display semaphore last.
struct AnyModel {
    const Fact& fact;
    explicit AnyModel(const Fact& f) : fact(f) {}
    std::int32_t number() const { return std::get<std::int32_t>(fact.fields.front()); }
    const Name& condition() const { return std::get<Name>(fact.fields[1]); }
    const Name& result() const { return std::get<Name>(fact.fields[2]); }
    std::int32_t display() const { return std::get<std::int32_t>(fact.fields.back()); }
};

// The number that rules, models, constraints and media entries carry as their first field.
inline std::int32_t number_of(const Fact& fact) {
    return std::get<std::int32_t>(fact.fields.front());
}

#undef XAMO_FACT_VIEW
#undef XAMO_FIELD_TYPE
#undef XAMO_FIELD_INDEX
#undef XAMO_FIELD_ACCESSOR

// Subsystems that own working facts register one of these; clearing the knowledge base clears
// them all.
class WorkingSection {
  public:
    virtual ~WorkingSection() = default;
    virtual void clear() = 0;
};

class RuleNames;

// The facts of each kind are shared, not copied, by a copy of the store and by snapshots
// (share): a change of a kind someone else also holds copies that kind first. References from
// all() stay valid while nothing else holds the kind, as before; a snapshot never changes.
class FactStore {
  public:
    using Facts = std::deque<Fact>;

    const Facts& all(Kind kind) const { return *facts_[index(kind)]; }
    bool any(Kind kind) const { return !all(kind).empty(); }
    const Fact* first(Kind kind) const;
    // The facts of a kind as they are now, kept unchanged whatever the store does later.
    std::shared_ptr<const Facts> share(Kind kind) const { return facts_[index(kind)]; }
    // The names of the rules numbered (rule_names.h): made on first use, again after the rules
    // changed.
    std::shared_ptr<const RuleNames> rule_names() const;

    // Adds a fact whose fields must match the kind's declaration.
    void add(Fact fact);
    void add_front(Fact fact);
    bool remove_first(Kind kind, const std::function<bool(const Fact&)>& match);
    std::size_t remove_if(Kind kind, const std::function<bool(const Fact&)>& match);
    void remove_all(Kind kind);
    void clear_section(Section section);
    std::size_t section_size(Section section) const;
    // Mutable access for the few operations that edit a fact in place (the report text).
    Facts& mutable_all(Kind kind) { return writable(kind); }

    // Single-string facts (names, distinguisher): the first one's text.
    std::optional<std::string> text(Kind kind) const;
    // Replaces every fact of a single-string kind by one holding `value`.
    void set_text(Kind kind, std::string_view value);

    void register_working(WorkingSection* section) { working_.push_back(section); }
    void clear_working();

  private:
    static std::size_t index(Kind kind) { return static_cast<std::size_t>(kind); }
    Facts& writable(Kind kind);
    std::vector<std::shared_ptr<Facts>> facts_ = empty_kinds();
    std::vector<WorkingSection*> working_;
    mutable std::shared_ptr<const RuleNames> rule_names_;  // of the rules as they are now

    static std::vector<std::shared_ptr<Facts>> empty_kinds();
};

// Convenience constructors for the facts the algorithms build most often.
Fact make_text_fact(Kind kind, std::string_view text);
Fact make_rule(std::int32_t number, std::string_view conclusion, NameList conditions,
               std::int32_t semaphore, Kind kind = Kind::regula);

// Checks that the fields of a fact have the declared types.
bool fields_match(const Fact& fact);

}  // namespace xamo
