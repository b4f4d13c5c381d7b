#include "kb/facts.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace xamo {
namespace {

using F = FieldType;

const std::vector<KindInfo>& table() {
    static const std::vector<KindInfo> kinds = {
        {Kind::fakt, Section::Rules, "fakt", TextFact::types()},
        {Kind::lista_wszystkich_dopytywalnych_dla_wyswietlania, Section::Rules,
         "lista_wszystkich_dopytywalnych_dla_wyswietlania", ListFact::types()},
        {Kind::lista_wnioskow_regul, Section::Rules, "lista_wnioskow_regul", ListFact::types()},
        {Kind::lista_warunkow, Section::Rules, "lista_warunkow", ListFact::types()},
        {Kind::regula, Section::Rules, "reguła", Rule::types()},
        {Kind::rem_regula, Section::Rules, "rem_reguła", TextFact::types()},
        {Kind::off_fakt, Section::Rules, "_fakt", TextFact::types()},
        {Kind::off_regula, Section::Rules, "_reguła", Rule::types()},

        {Kind::arg_dopyt, Section::Models, "arg_dopyt", TextFact::types()},
        {Kind::argument_znany, Section::Models, "argument_znany", KnownArgument::types()},
        {Kind::m_fakt, Section::Models, "m_fakt", TextFact::types()},
        {Kind::model, Section::Models, "model", Model::types()},
        {Kind::model_r, Section::Models, "model_r", ModelR::types()},
        {Kind::model_liniowy, Section::Models, "model_liniowy", LinearModel::types()},
        {Kind::model_wielomianowy, Section::Models, "model_wielomianowy", PolynomialModel::types()},
        {Kind::modele_ekskluzywne, Section::Models, "modele_ekskluzywne", ListFact::types()},
        {Kind::nazwa_pliku_war_arg, Section::Models, "nazwa_pliku_war_arg", TextFact::types()},
        {Kind::rem_model, Section::Models, "rem_model", TextFact::types()},
        {Kind::rem_model_r, Section::Models, "rem_model_r", TextFact::types()},
        {Kind::rem_model_liniowy, Section::Models, "rem_model_liniowy", TextFact::types()},
        {Kind::rem_model_wielomianowy, Section::Models, "rem_model_wielomianowy",
         TextFact::types()},
        {Kind::off_argument_znany, Section::Models, "_argument_znany", KnownArgument::types()},
        {Kind::off_model, Section::Models, "_model", Model::types()},
        {Kind::off_model_liniowy, Section::Models, "_model_liniowy", LinearModel::types()},
        {Kind::off_model_r, Section::Models, "_model_r", ModelR::types()},
        {Kind::off_model_wielomianowy, Section::Models, "_model_wielomianowy",
         PolynomialModel::types()},
        {Kind::off_modele_ekskluzywne, Section::Models, "_modele_ekskluzywne", ListFact::types()},
        {Kind::off_m_fakt, Section::Models, "_m_fakt", TextFact::types()},
        {Kind::rem_modele_ekskluzywne, Section::Models, "rem_modele_ekskluzywne",
         ListFact::types()},

        {Kind::ograniczenie, Section::Constraints, "ograniczenie", Constraint::types()},
        {Kind::nazwa_og, Section::Constraints, "nazwa_og", TextFact::types()},
        {Kind::nazwa_og_pelna, Section::Constraints, "nazwa_og_pelna", TextFact::types()},
        {Kind::rem_ograniczenie, Section::Constraints, "rem_ograniczenie", TextFact::types()},
        {Kind::off_ograniczenie, Section::Constraints, "_ograniczenie", Constraint::types()},

        {Kind::rada, Section::Advice, "rada", MediaEntry::types()},
        {Kind::nrada, Section::Advice, "nrada", MediaEntry::types()},
        {Kind::rem_rada, Section::Advice, "rem_rada", TextFact::types()},
        {Kind::rem_nrada, Section::Advice, "rem_nrada", TextFact::types()},
        {Kind::off_rada, Section::Advice, "_rada", MediaEntry::types()},
        {Kind::off_nrada, Section::Advice, "_nrada", MediaEntry::types()},

        {Kind::grafika, Section::Graphics, "grafika", MediaEntry::types()},
        {Kind::ngrafika, Section::Graphics, "ngrafika", MediaEntry::types()},

        {Kind::dzwiek, Section::Sounds, "dźwięk", MediaEntry::types()},
        {Kind::ndzwiek, Section::Sounds, "ndźwięk", MediaEntry::types()},

        {Kind::nazwa_re, Section::Names, "nazwa_re", TextFact::types()},
        {Kind::nazwa_re_pelna, Section::Names, "nazwa_re_pelna", TextFact::types()},
        {Kind::nazwa_mo, Section::Names, "nazwa_mo", TextFact::types()},
        {Kind::nazwa_mo_pelna, Section::Names, "nazwa_mo_pelna", TextFact::types()},
        {Kind::nazwa_ra, Section::Names, "nazwa_ra", TextFact::types()},
        {Kind::nazwa_ra_pelna, Section::Names, "nazwa_ra_pelna", TextFact::types()},
        {Kind::nazwa_gr, Section::Names, "nazwa_gr", TextFact::types()},
        {Kind::nazwa_me, Section::Names, "nazwa_me", TextFact::types()},
        {Kind::sciezka, Section::Names, "sciezka", TextFact::types()},
        {Kind::sciezka1, Section::Names, "sciezka1", TextFact::types()},
        {Kind::sciezka2, Section::Names, "sciezka2", TextFact::types()},
        {Kind::wyroznik, Section::Names, "wyroznik", TextFact::types()},
        {Kind::rozszerzenie, Section::Names, "rozszerzenie", TextFact::types()},

        {Kind::tekst_raportu, Section::Report, "tekst_raportu", TextFact::types()},
    };
    return kinds;
}

const std::array<std::vector<Kind>, kSectionCount>& sections() {
    static const auto by_section = [] {
        std::array<std::vector<Kind>, kSectionCount> s;
        for (const auto& info : table()) {
            s[static_cast<std::size_t>(info.section)].push_back(info.kind);
        }
        return s;
    }();
    return by_section;
}

bool value_has_type(const FieldValue& value, FieldType type) {
    switch (type) {
        case F::Integer:
            return std::holds_alternative<std::int32_t>(value);
        case F::Real:
            return std::holds_alternative<double>(value);
        case F::String:
            return std::holds_alternative<Name>(value);
        case F::StringList:
            return std::holds_alternative<NameList>(value);
        case F::IntegerList:
            return std::holds_alternative<IntegerList>(value);
    }
    return false;
}

}  // namespace

const KindInfo& kind_info(Kind kind) {
    const auto& t = table();
    const auto& info = t[static_cast<std::size_t>(kind)];
    assert(info.kind == kind);
    return info;
}

const std::vector<Kind>& section_kinds(Section section) {
    return sections()[static_cast<std::size_t>(section)];
}

bool fields_match(const Fact& fact) {
    const auto& types = kind_info(fact.kind).fields;
    if (types.size() != fact.fields.size()) return false;
    for (std::size_t i = 0; i < types.size(); ++i) {
        if (!value_has_type(fact.fields[i], types[i])) return false;
    }
    return true;
}

const Fact* FactStore::first(Kind kind) const {
    const auto& facts = all(kind);
    return facts.empty() ? nullptr : &facts.front();
}

std::vector<std::shared_ptr<FactStore::Facts>> FactStore::empty_kinds() {
    std::vector<std::shared_ptr<Facts>> kinds(kKindCount);
    for (auto& facts : kinds) facts = std::make_shared<Facts>();
    return kinds;
}

FactStore::Facts& FactStore::writable(Kind kind) {
    if (kind == Kind::regula) rule_names_.reset();
    auto& facts = facts_[index(kind)];
    if (facts.use_count() > 1) facts = std::make_shared<Facts>(*facts);
    return *facts;
}

void FactStore::add(Fact fact) {
    assert(fields_match(fact));
    writable(fact.kind).push_back(std::move(fact));
}

void FactStore::add_front(Fact fact) {
    assert(fields_match(fact));
    writable(fact.kind).push_front(std::move(fact));
}

void FactStore::remove_all(Kind kind) {
    if (kind == Kind::regula) rule_names_.reset();
    auto& facts = facts_[index(kind)];
    // A kind someone else holds is left to them whole, not copied to be emptied.
    if (facts.use_count() > 1) {
        facts = std::make_shared<Facts>();
    } else {
        facts->clear();
    }
}

bool FactStore::remove_first(Kind kind, const std::function<bool(const Fact&)>& match) {
    auto& facts = writable(kind);
    auto it = std::find_if(facts.begin(), facts.end(), match);
    if (it == facts.end()) return false;
    facts.erase(it);
    return true;
}

std::size_t FactStore::remove_if(Kind kind, const std::function<bool(const Fact&)>& match) {
    auto& facts = writable(kind);
    const auto before = facts.size();
    facts.erase(std::remove_if(facts.begin(), facts.end(), match), facts.end());
    return before - facts.size();
}

void FactStore::clear_section(Section section) {
    for (Kind kind : section_kinds(section)) remove_all(kind);
}

std::size_t FactStore::section_size(Section section) const {
    std::size_t n = 0;
    for (Kind kind : section_kinds(section)) n += all(kind).size();
    return n;
}

std::optional<std::string> FactStore::text(Kind kind) const {
    const Fact* fact = first(kind);
    if (!fact) return std::nullopt;
    return TextFact(*fact).text().str();
}

void FactStore::set_text(Kind kind, std::string_view value) {
    remove_all(kind);
    add(make_text_fact(kind, value));
}

void FactStore::clear_working() {
    for (WorkingSection* section : working_) section->clear();
}

Fact make_text_fact(Kind kind, std::string_view text) { return Fact{kind, {Name(text)}}; }

Fact make_rule(std::int32_t number, std::string_view conclusion, NameList conditions,
               std::int32_t semaphore, Kind kind) {
    return Fact{kind, {number, Name(conclusion), std::move(conditions), semaphore}};
}

}  // namespace xamo
