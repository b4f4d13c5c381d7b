// The fact store: every base section, the file-name facts and the report text, each a fixed table
// of fact kinds (functor + field types). Facts of one kind keep the order in which they were added.
// Working facts of the inference, diagnosis and analysis commands are kept by their own subsystems
// in typed structures (see WorkingSection), so that lookups there can be indexed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace xamo {

enum class FieldType { Integer, Real, String, StringList, IntegerList };

using StringList = std::vector<std::string>;
using IntegerList = std::vector<std::int32_t>;
using FieldValue = std::variant<std::int32_t, double, std::string, StringList, IntegerList>;

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

    std::int32_t integer(std::size_t i) const { return std::get<std::int32_t>(fields[i]); }
    double real(std::size_t i) const { return std::get<double>(fields[i]); }
    const std::string& str(std::size_t i) const { return std::get<std::string>(fields[i]); }
    const StringList& strings(std::size_t i) const { return std::get<StringList>(fields[i]); }
    const IntegerList& integers(std::size_t i) const { return std::get<IntegerList>(fields[i]); }
    bool operator==(const Fact&) const = default;
};

// Subsystems that own working facts register one of these; clearing the knowledge base clears
// them all.
class WorkingSection {
public:
    virtual ~WorkingSection() = default;
    virtual void clear() = 0;
};

class FactStore {
public:
    using Facts = std::deque<Fact>;

    const Facts& all(Kind kind) const { return facts_[index(kind)]; }
    bool any(Kind kind) const { return !all(kind).empty(); }
    const Fact* first(Kind kind) const;

    // Adds a fact whose fields must match the kind's declaration.
    void add(Fact fact);
    void add_front(Fact fact);
    bool remove_first(Kind kind, const std::function<bool(const Fact&)>& match);
    std::size_t remove_if(Kind kind, const std::function<bool(const Fact&)>& match);
    void remove_all(Kind kind) { facts_[index(kind)].clear(); }
    void clear_section(Section section);
    std::size_t section_size(Section section) const;
    // Mutable access for the few operations that edit a fact in place (the report text).
    Facts& mutable_all(Kind kind) { return facts_[index(kind)]; }

    // Single-string facts (names, distinguisher): the first one's text.
    std::optional<std::string> text(Kind kind) const;
    // Replaces every fact of a single-string kind by one holding `value`.
    void set_text(Kind kind, std::string value);

    void register_working(WorkingSection* section) { working_.push_back(section); }
    void clear_working();

private:
    static std::size_t index(Kind kind) { return static_cast<std::size_t>(kind); }
    std::vector<Facts> facts_ = std::vector<Facts>(kKindCount);
    std::vector<WorkingSection*> working_;
};

// Convenience constructors for the facts the algorithms build most often.
Fact make_text_fact(Kind kind, std::string text);
Fact make_rule(std::int32_t number, std::string conclusion, StringList conditions,
               std::int32_t semaphore, Kind kind = Kind::regula);

// Checks that the fields of a fact have the declared types.
bool fields_match(const Fact& fact);

}  // namespace xamo
