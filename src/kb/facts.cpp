#include "kb/facts.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace xamo {
namespace {

using F = FieldType;
constexpr F I = F::Integer;
constexpr F R = F::Real;
constexpr F S = F::String;
constexpr F SL = F::StringList;
constexpr F IL = F::IntegerList;

const std::vector<KindInfo>& table() {
    static const std::vector<KindInfo> kinds = {
        {Kind::fakt, Section::Rules, "fakt", {S}},
        {Kind::lista_wszystkich_dopytywalnych_dla_wyswietlania, Section::Rules,
         "lista_wszystkich_dopytywalnych_dla_wyswietlania", {SL}},
        {Kind::lista_wnioskow_regul, Section::Rules, "lista_wnioskow_regul", {SL}},
        {Kind::lista_warunkow, Section::Rules, "lista_warunkow", {SL}},
        {Kind::regula, Section::Rules, "reguła", {I, S, SL, I}},
        {Kind::rem_regula, Section::Rules, "rem_reguła", {S}},
        {Kind::off_fakt, Section::Rules, "_fakt", {S}},
        {Kind::off_regula, Section::Rules, "_reguła", {I, S, SL, I}},

        {Kind::arg_dopyt, Section::Models, "arg_dopyt", {S}},
        {Kind::argument_znany, Section::Models, "argument_znany", {S, R}},
        {Kind::m_fakt, Section::Models, "m_fakt", {S}},
        {Kind::model, Section::Models, "model", {I, S, S, S, S, S, I}},
        {Kind::model_r, Section::Models, "model_r", {I, S, S, S, SL, I}},
        {Kind::model_liniowy, Section::Models, "model_liniowy", {I, S, S, SL, SL, I}},
        {Kind::model_wielomianowy, Section::Models, "model_wielomianowy", {I, S, S, S, SL, IL, I}},
        {Kind::modele_ekskluzywne, Section::Models, "modele_ekskluzywne", {SL}},
        {Kind::nazwa_pliku_war_arg, Section::Models, "nazwa_pliku_war_arg", {S}},
        {Kind::rem_model, Section::Models, "rem_model", {S}},
        {Kind::rem_model_r, Section::Models, "rem_model_r", {S}},
        {Kind::rem_model_liniowy, Section::Models, "rem_model_liniowy", {S}},
        {Kind::rem_model_wielomianowy, Section::Models, "rem_model_wielomianowy", {S}},
        {Kind::off_argument_znany, Section::Models, "_argument_znany", {S, R}},
        {Kind::off_model, Section::Models, "_model", {I, S, S, S, S, S, I}},
        {Kind::off_model_liniowy, Section::Models, "_model_liniowy", {I, S, S, SL, SL, I}},
        {Kind::off_model_r, Section::Models, "_model_r", {I, S, S, S, SL, I}},
        {Kind::off_model_wielomianowy, Section::Models, "_model_wielomianowy",
         {I, S, S, S, SL, IL, I}},
        {Kind::off_modele_ekskluzywne, Section::Models, "_modele_ekskluzywne", {SL}},
        {Kind::off_m_fakt, Section::Models, "_m_fakt", {S}},
        {Kind::rem_modele_ekskluzywne, Section::Models, "rem_modele_ekskluzywne", {SL}},

        {Kind::ograniczenie, Section::Constraints, "ograniczenie", {I, SL}},
        {Kind::nazwa_og, Section::Constraints, "nazwa_og", {S}},
        {Kind::nazwa_og_pelna, Section::Constraints, "nazwa_og_pelna", {S}},
        {Kind::rem_ograniczenie, Section::Constraints, "rem_ograniczenie", {S}},
        {Kind::off_ograniczenie, Section::Constraints, "_ograniczenie", {I, SL}},

        {Kind::rada, Section::Advice, "rada", {I, S}},
        {Kind::nrada, Section::Advice, "nrada", {I, S}},
        {Kind::rem_rada, Section::Advice, "rem_rada", {S}},
        {Kind::rem_nrada, Section::Advice, "rem_nrada", {S}},
        {Kind::off_rada, Section::Advice, "_rada", {I, S}},
        {Kind::off_nrada, Section::Advice, "_nrada", {I, S}},

        {Kind::grafika, Section::Graphics, "grafika", {I, S}},
        {Kind::ngrafika, Section::Graphics, "ngrafika", {I, S}},

        {Kind::dzwiek, Section::Sounds, "dźwięk", {I, S}},
        {Kind::ndzwiek, Section::Sounds, "ndźwięk", {I, S}},

        {Kind::nazwa_re, Section::Names, "nazwa_re", {S}},
        {Kind::nazwa_re_pelna, Section::Names, "nazwa_re_pelna", {S}},
        {Kind::nazwa_mo, Section::Names, "nazwa_mo", {S}},
        {Kind::nazwa_mo_pelna, Section::Names, "nazwa_mo_pelna", {S}},
        {Kind::nazwa_ra, Section::Names, "nazwa_ra", {S}},
        {Kind::nazwa_ra_pelna, Section::Names, "nazwa_ra_pelna", {S}},
        {Kind::nazwa_gr, Section::Names, "nazwa_gr", {S}},
        {Kind::nazwa_me, Section::Names, "nazwa_me", {S}},
        {Kind::sciezka, Section::Names, "sciezka", {S}},
        {Kind::sciezka1, Section::Names, "sciezka1", {S}},
        {Kind::sciezka2, Section::Names, "sciezka2", {S}},
        {Kind::wyroznik, Section::Names, "wyroznik", {S}},
        {Kind::rozszerzenie, Section::Names, "rozszerzenie", {S}},

        {Kind::tekst_raportu, Section::Report, "tekst_raportu", {S}},
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
        case F::Integer: return std::holds_alternative<std::int32_t>(value);
        case F::Real: return std::holds_alternative<double>(value);
        case F::String: return std::holds_alternative<std::string>(value);
        case F::StringList: return std::holds_alternative<StringList>(value);
        case F::IntegerList: return std::holds_alternative<IntegerList>(value);
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

void FactStore::add(Fact fact) {
    assert(fields_match(fact));
    facts_[index(fact.kind)].push_back(std::move(fact));
}

void FactStore::add_front(Fact fact) {
    assert(fields_match(fact));
    facts_[index(fact.kind)].push_front(std::move(fact));
}

bool FactStore::remove_first(Kind kind, const std::function<bool(const Fact&)>& match) {
    auto& facts = facts_[index(kind)];
    auto it = std::find_if(facts.begin(), facts.end(), match);
    if (it == facts.end()) return false;
    facts.erase(it);
    return true;
}

std::size_t FactStore::remove_if(Kind kind, const std::function<bool(const Fact&)>& match) {
    auto& facts = facts_[index(kind)];
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
    return fact->str(0);
}

void FactStore::set_text(Kind kind, std::string value) {
    remove_all(kind);
    add(make_text_fact(kind, std::move(value)));
}

void FactStore::clear_working() {
    for (WorkingSection* section : working_) section->clear();
}

Fact make_text_fact(Kind kind, std::string text) { return Fact{kind, {std::move(text)}}; }

Fact make_rule(std::int32_t number, std::string conclusion, StringList conditions,
               std::int32_t semaphore, Kind kind) {
    return Fact{kind, {number, std::move(conclusion), std::move(conditions), semaphore}};
}

}  // namespace xamo
