#include "inference/forward.h"

#include <algorithm>
#include <optional>
#include <unordered_set>
#include <utility>
#include <vector>

#include "analysis/same_results.h"
#include "inference/questions.h"
#include "inference/recording.h"
#include "inference/summary.h"
#include "kb/codec.h"
#include "kb/conditions.h"
#include "kb/files.h"

namespace xamo {
namespace {

std::string name_of(const FactStore& store, Kind kind) { return store.text(kind).value_or(""); }

// The signatures of the states a run has passed through, one per firing: open addressing, so a
// run of a million firings allocates a few times, not a million.
class SignatureSet {
  public:
    // False when `signature` is there already.
    bool insert(std::uint64_t signature) {
        if (signature == 0) return !std::exchange(zero_, true);
        if (2 * (size_ + 1) > slots_.size()) grow();
        return place(signature);
    }

  private:
    bool place(std::uint64_t signature) {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = (signature ^ signature >> 29) & mask;; i = (i + 1) & mask) {
            if (slots_[i] == signature) return false;
            if (slots_[i] == 0) {
                slots_[i] = signature;
                ++size_;
                return true;
            }
        }
    }
    void grow() {
        std::vector<std::uint64_t> old(std::max<std::size_t>(64, 2 * slots_.size()), 0);
        old.swap(slots_);
        size_ = 0;
        for (const std::uint64_t signature : old) {
            if (signature != 0) place(signature);
        }
    }

    std::vector<std::uint64_t> slots_;
    std::size_t size_ = 0;
    bool zero_ = false;
};

// The states of a run, told whether one repeats an earlier one. While nothing was taken out of
// working memory, the applied rules or the fixed values (and constraints are only ever replaced,
// never dropped), every state holds the one before it, so a state can repeat only the one just
// before: the signatures are then only listed, and put in a set (one cache miss each in a large
// run) once something was taken out.
class StateHistory {
  public:
    explicit StateHistory(std::uint64_t removals) : removals_(removals) {}
    // False when the state of `signature` was met before; `removals` counts what was ever
    // taken out of the state.
    bool insert(std::uint64_t signature, std::uint64_t removals) {
        if (removals == removals_ && !indexed_) {
            if (!listed_.empty() && listed_.back() == signature) return false;
            listed_.push_back(signature);
            return true;
        }
        if (!indexed_) {
            indexed_ = true;
            for (const std::uint64_t earlier : listed_) set_.insert(earlier);
            std::vector<std::uint64_t>().swap(listed_);
        }
        return set_.insert(signature);
    }

  private:
    std::uint64_t removals_;
    bool indexed_ = false;
    std::vector<std::uint64_t> listed_;
    SignatureSet set_;
};

}  // namespace

std::string generuj_wniosek(const std::string& marks, std::string_view conclusion) {
    return marks.find('n') == std::string::npos ? std::string(conclusion) : negacja(conclusion);
}

ForwardInference::ForwardInference(InferenceContext& ctx) : ctx_(ctx), models_(ctx) {}

const OpeningTexts kForwardOpening{"Wnioskowanie rozwinięte dokładne w przód",
                                   "                                    bazy rad ",
                                   "                            bazy dźwięku "};

void ForwardInference::run() {
    if (!prepare(kForwardOpening)) return;
    const int mode = ctx_.ui.choose_option({"Menu wyboru faktów",
                                            "Wybierz tryb deklaracji faktów!",
                                            {"Menu wyboru faktów", "Interfejs zadający pytania"},
                                            2});
    wybierz_tryb(mode);
}

bool ForwardInference::prepare(const OpeningTexts& texts) {
    if (!ctx_.store.any(Kind::nazwa_re)) {
        ctx_.ui.note("Uwaga!", "Proszę załadować bazę reguł!");
        return false;
    }
    if (ctx_.memory.blad_wykluczajacych || base_faulty()) return false;
    if (!testuj_wyniki_wszystkich_modeli_bez_ograniczen(ctx_.store, ctx_.ui)) return false;
    if (show_description) show_description();
    ask_detail_level(ctx_);
    ask_labels();
    ctx_.memory.clear_run();
    // Every declared fact and every conclusion may become a fact of its own.
    const FactStore& store = ctx_.store;
    ctx_.memory.rbd.reserve(1 + store.all(Kind::fakt).size() + store.all(Kind::m_fakt).size() +
                                store.all(Kind::regula).size(),
                            store.rule_names());
    ctx_.report.kasowanie_tekst_raportu();
    opening_texts(texts);
    ctx_.memory.rbd.add(0, std::string(kNoCondition));
    return true;
}

void ForwardInference::ask_labels() {
    ctx_.memory.etykieta.clear();
    if (ctx_.ui.ask("Tworzenie etykiet", "Zachować etykiety wnioskowania?", {"&TAK", "&NIE"}) !=
        1) {
        return;
    }
    while (true) {
        if (const auto label = enter_label()) ctx_.memory.etykieta.push_back(*label);
        if (ctx_.ui.ask("Następna etykieta?", "", {"&TAK", "&NIE"}) != 1) return;
    }
}

// Labels go into the summary and the stored consultation, both Windows-1250 files: a character
// that encoding lacks is refused here, where it can still be typed again.
std::optional<std::string> ForwardInference::enter_label() {
    while (true) {
        auto label = ctx_.ui.enter_text("Tworzenie etykiety", "Pisz etykietę:", "");
        EncodeError error;
        if (!label || utf8_to_cp1250(*label, &error)) return label;
        ctx_.ui.note("Uwaga!", "Znak '" + error.character +
                                   "' nie ma odpowiednika w kodowaniu Windows-1250.\n"
                                   "Etykieta nie została przyjęta: wpisz ją ponownie.");
    }
}

void ForwardInference::opening_texts(const OpeningTexts& texts) {
    const FactStore& store = ctx_.store;
    const auto file = [&store](Kind kind) { return file_name_of(name_of(store, kind)); };
    ctx_.ui.note(texts.title,
                 std::string(texts.title) + " dla:\n\nBazy reguł rozwiniętej dokładnej\n    " +
                     file(Kind::nazwa_re) + "\n\nBazy modeli rozwiniętej dokładnej\n    " +
                     file(Kind::nazwa_mo) + "\n\nBazy ograniczeń rozwiniętej dokładnej\n     " +
                     file(Kind::nazwa_og) + "\n\nBazy rad rozwiniętej dokładnej\n    " +
                     file(Kind::nazwa_ra) + "\n\nBazy grafiki rozwiniętej dokładnej\n    " +
                     file(Kind::nazwa_gr) + "\n\nBazy dźwięku rozwiniętej dokładnej\n    " +
                     file(Kind::nazwa_me));
    const std::pair<const char*, Kind> lines[] = {
        {"Porady ekspertowe dla bazy reguł ", Kind::nazwa_re},
        {"                               bazy modeli ", Kind::nazwa_mo},
        {"                         bazy ograniczeń ", Kind::nazwa_og},
        {texts.advice_line, Kind::nazwa_ra},
        {"                               bazy grafiki ", Kind::nazwa_gr},
        {texts.sound_line, Kind::nazwa_me},
    };
    for (const auto& [text, kind] : lines) ctx_.line(text + name_of(store, kind));
    ctx_.piszcr();
}

void ForwardInference::wybierz_tryb(int mode) {
    if (mode == 1 && przygotowanie_listy_faktow()) {
        wnioskowanie();
        return;
    }
    if (mode == 1 || mode == 2) wnioskowanie();
}

bool ForwardInference::przygotowanie_listy_faktow() {
    InferenceMemory& memory = ctx_.memory;
    // Askable conditions already declared as facts.
    std::unordered_set<std::string> declared;
    for (Kind kind : {Kind::fakt, Kind::m_fakt}) {
        for (const Fact& fact : ctx_.store.all(kind))
            declared.insert(positive_form(TextFact(fact).text()));
    }
    const auto any_declared = [&declared](const NameList& members) {
        return std::any_of(members.begin(), members.end(),
                           [&declared](const Name& m) { return declared.count(m.str()) > 0; });
    };
    const std::vector<Fact> constraints(ctx_.store.all(Kind::ograniczenie).begin(),
                                        ctx_.store.all(Kind::ograniczenie).end());
    for (const Fact& constraint : constraints) {
        const NameList& members = Constraint(constraint).members();
        if (any_declared(members) || members.empty()) continue;
        memory.lista_warunkow_ograniczenia_z_warunkami_faktami.push_back(members.texts());
        // An earlier choice may have settled members of this constraint too: a refuted member
        // is not offered, and a member already true is the choice, so that the menu never
        // records a condition together with its negation.
        StringList open;
        for (const Name& m : members) {
            if (!memory.rbd.negation_established(m)) open.emplace_back(m.view());
        }
        const auto already_true = std::find_if(open.begin(), open.end(), [&memory](const auto& m) {
            return memory.rbd.established(m);
        });
        std::string member;
        if (already_true != open.end()) {
            member = *already_true;
        } else if (!open.empty()) {
            const std::string number = std::to_string(Constraint(constraint).number());
            const auto chosen = ctx_.ui.choose_from_list(
                "Przegląd warunków wykluczających się dla ograniczenia " + number,
                "Wybierz fakt z listy warunków dla ograniczenia " + number, open, false);
            const std::size_t index = chosen.empty() ? 0 : static_cast<std::size_t>(chosen.front());
            member = open[std::min(index, open.size() - 1)];
            memory.rbd.add(0, member);
        } else {
            continue;
        }
        const Choice why{Constraint(constraint).number(), member, Choice::Cause::Chosen};
        memory.choices.emplace(member, why);
        StringList others;
        for (const auto& m : open) {
            if (m != member) others.push_back(m);
        }
        pamietaj_warunki_nie_bedace_faktami(ctx_, others, why);
    }
    for (const Fact& constraint : constraints) {
        if (any_declared(Constraint(constraint).members())) {
            memory.lista_warunkow_ograniczenia_z_warunkami_faktami.push_back(
                Constraint(constraint).members().texts());
        }
    }
    std::unordered_set<std::string> considered;
    for (const auto& members : memory.lista_warunkow_ograniczenia_z_warunkami_faktami) {
        for (const auto& m : members) {
            memory.lista_warunkow_uwzglednionych_ograniczen.push_back(m);
            considered.insert(m);
        }
    }
    const StringList& source = ctx_.model_base_loaded()
                                   ? ctx_.askable.lista_wszystkich_dopytywalnych_dla_wyswietlania
                                   : ctx_.askable.lista_warunkow_dopytywalnych.list();
    StringList offered;
    for (const auto& c : source) {
        if (declared.count(c) > 0) continue;
        if (ctx_.constraint_base_loaded() && considered.count(c) > 0) continue;
        offered.push_back(c);
    }
    if (!offered.empty()) {
        const auto chosen = ctx_.ui.choose_from_list(
            "Wybór faktów ze zbioru warunków dopytywalnych",
            "Wybierz fakty ze zbioru warunków dopytywalnych!", offered, true);
        for (int index : chosen) {
            const std::string& c = offered[static_cast<std::size_t>(index)];
            memory.rbd.add(0, c);
            memory.choices.emplace(c, Choice{0, c, Choice::Cause::Chosen});
        }
        pamietaj_warunki_nie_bedace_faktami(ctx_, offered);
        return true;
    }
    if (ctx_.store.any(Kind::fakt)) {
        for (const char* text :
             {"Wartości logiczne warunków dopytywalnych zostały",
              "zadeklarowane w bazie reguł w klauzulach 'fakt(_)'.",
              "Dlatego możesz deklarować tylko wartości argumentów dopytywalnych,",
              "podobnie jak dla opcji 'Interfejs zadający pytania'"}) {
            ctx_.screen(text);
            ctx_.screen_new_line();
        }
        ctx_.ui.note(
            "Uwaga!",
            "Wartości logiczne warunków dopytywalnych zostały\nzadeklarowane w bazie reguł "
            "w klauzulach 'fakt(_)'.\nDlatego możesz deklarować tylko wartości argumentów "
            "dopytywalnych,\npodobnie jak dla opcji 'Interfejs zadający pytania'.");
    }
    return false;
}

bool ForwardInference::wnioskowanie() {
    if (!przedstawienie_faktow_pierwotnych(ctx_)) return false;
    if (!przedstawienie_m_faktow_pierwotnych(ctx_)) return false;
    if (ctx_.store.any(Kind::argument_znany)) models_.przedstawienie_zmiennych_pierwotnych();
    seed();
    wnioskowanie_cd();
    return true;
}

void ForwardInference::seed() {
    constexpr std::size_t kAhead = 8;  // facts whose lookups are in flight
    for (Kind kind : {Kind::fakt, Kind::m_fakt}) {
        // Recording may shorten constraints but never changes the declared facts.
        const auto& facts = ctx_.store.all(kind);
        for (std::size_t i = 0; i < facts.size(); ++i) {
            if (i + kAhead < facts.size())
                ctx_.memory.rbd.prefetch(TextFact(facts[i + kAhead]).text());
            pamietaj(ctx_, TextFact(facts[i]).text().str(), true, true);
        }
    }
    for (const Fact& known : ctx_.store.all(Kind::argument_znany)) {
        ctx_.memory.zmienna_ustalona.set(KnownArgument(known).argument().str(),
                                         KnownArgument(known).value());
    }
}

// The state the loop's course depends on. Everything else only grows during a run, so a state
// seen before means that rules revise one another's conclusions in a circle forever.
std::uint64_t ForwardInference::state_signature() const {
    const InferenceMemory& memory = ctx_.memory;
    std::uint64_t signature = memory.rbd.signature() * 31 + memory.regula_zastosowana.signature();
    signature = signature * 31 + memory.model_stosowany.size();
    signature = signature * 31 + memory.zmienna_ustalona.size();
    return signature * 31 + ctx_.store.all(Kind::ograniczenie).size();
}

std::uint64_t ForwardInference::state_removals() const {
    const InferenceMemory& memory = ctx_.memory;
    return memory.rbd.removals() + memory.regula_zastosowana.removals() +
           memory.zmienna_ustalona.removals();
}

void ForwardInference::wnioskowanie_cd() {
    {
        std::optional<ForwardAgenda> agenda;
        if (scan == Scan::Agenda) agenda.emplace(ctx_);
        agenda_ = agenda ? &*agenda : nullptr;
        struct Detach {
            ForwardAgenda*& agenda;
            InferenceContext& ctx;
            ~Detach() {
                agenda = nullptr;
                ctx.end_progress();
            }
        } detach{agenda_, ctx_};
        ctx_.begin_progress(kForwardOpening.title);
        StateHistory seen(state_removals());
        seen.insert(state_signature(), state_removals());
        while (next_firing()) {
            ctx_.progress_step();
            if (seen.insert(state_signature(), state_removals())) continue;
            const std::string text = "Reguły wzajemnie odwołują swoje wnioski bez końca.";
            ctx_.line(text);
            ctx_.ui.note("Uwaga błąd!", text + "\nWnioskowanie zostało przerwane.");
            break;
        }
    }
    if (ctx_.memory.rbd.established(std::string(kEnd))) {
        end_by_koniec();
    } else {
        end_normally();
    }
}

bool ForwardInference::next_firing() {
    using Phase = ForwardAgenda::Phase;
    if (ctx_.memory.rbd.established(std::string(kEnd))) return false;
    return fire_rule() || fire_arithmetic(Kind::model, Phase::BasicArithmetic) ||
           fire_arithmetic(Kind::model_r, Phase::ExtendedArithmetic) ||
           fire_arithmetic(Kind::model_liniowy, Phase::Linear) ||
           fire_arithmetic(Kind::model_wielomianowy, Phase::Polynomial) ||
           fire_relation(Kind::model, Phase::BasicRelation) ||
           fire_relation(Kind::model_r, Phase::ExtendedRelation);
}

std::optional<std::string> ForwardInference::testuj_warunki(const NameList& conditions,
                                                            const std::uint32_t* ids) {
    const WorkingMemory& rbd = ctx_.memory.rbd;
    std::string marks;
    for (std::size_t k = 0; k < conditions.size(); ++k) {
        const Name& c = conditions[k];
        if (ids != nullptr ? agenda_->holds(ids[k]) : rbd.established(c)) {
            marks += 't';
            continue;
        }
        if (ids != nullptr ? agenda_->refuted(ids[k]) : rbd.negation_established(c))
            return marks + 'n';
        if (!ctx_.is_askable(c)) return std::nullopt;
        const char mark = pytaj_o_warunek(ctx_, c.str());
        marks += mark;
        if (mark == 'n') return marks;
    }
    return marks;
}

bool ForwardInference::fire_rule() {
    if (agenda_ == nullptr) {
        for (const Fact& rule : ctx_.store.all(Kind::regula)) {
            if (try_rule(rule)) return true;
        }
        return false;
    }
    // Each pass goes on after the item it tested, as the reference does.
    for (std::size_t from = 0;; ++from) {
        const Fact* rule = agenda_->next_rule(from);
        if (rule == nullptr) return false;
        if (try_rule(*rule, from)) return true;
    }
}

bool ForwardInference::try_rule(const Fact& rule, std::optional<std::size_t> position) {
    InferenceMemory& memory = ctx_.memory;
    const std::int32_t n = Rule(rule).number();
    if (n == 0 || memory.regula_zastosowana.count(n) > 0) return false;
    const std::uint32_t* ids =
        position ? ctx_.rule_index().conditions_of(*position).first : nullptr;
    const auto marks = testuj_warunki(Rule(rule).conditions(), ids);
    if (!marks) return false;
    const std::string result = generuj_wniosek(*marks, Rule(rule).conclusion());
    memory.regula_zastosowana.insert(n);
    if (!zachowaj_wniosek(ctx_, n, result, conclusion_name(position, result)).ok()) return false;
    przedstawienie_faktow(ctx_);
    if (wyjasnienie_regula(ctx_, rule, result)) offer_media(n, result);
    return true;
}

std::uint32_t ForwardInference::conclusion_name(std::optional<std::size_t> position,
                                                const std::string& result) {
    if (!position) return WorkingMemory::kNoName;
    const RuleNames& names = ctx_.rule_index().names();
    if (ctx_.memory.rbd.names() != &names) return WorkingMemory::kNoName;
    const std::uint32_t name = names.conclusion(*position);
    return names.text(name) == result ? name : WorkingMemory::kNoName;
}

bool ForwardInference::fire_arithmetic(Kind kind, ForwardAgenda::Phase phase) {
    if (agenda_ == nullptr) {
        for (const Fact& model : ctx_.store.all(kind)) {
            if (is_relational(model)) continue;
            if (models_.apply_arithmetic(model)) return true;
        }
        return false;
    }
    for (std::size_t from = 0;; ++from) {
        const Fact* model = agenda_->next_model(phase, from);
        if (model == nullptr) return false;
        if (models_.apply_arithmetic(*model)) return true;
    }
}

bool ForwardInference::fire_relation(Kind kind, ForwardAgenda::Phase phase) {
    if (agenda_ == nullptr) {
        for (const Fact& model : ctx_.store.all(kind)) {
            if (try_relation(model)) return true;
        }
        return false;
    }
    for (std::size_t from = 0;; ++from) {
        const Fact* model = agenda_->next_model(phase, from);
        if (model == nullptr) return false;
        if (try_relation(*model)) return true;
    }
}

bool ForwardInference::try_relation(const Fact& model) {
    InferenceMemory& memory = ctx_.memory;
    if (!is_relational(model)) return false;
    if (model.kind == Kind::model_r && ModelR(model).variables().size() != 3) return false;
    const std::int32_t n = model_number(model);
    if (!models_.sprawdz(AnyModel(model).condition().str())) return false;
    if (memory.rbd.has(n, AnyModel(model).result()) || models_.applied_or_failed(n)) return false;
    const auto step = models_.evaluate_relation(model);
    if (!step) return false;
    if (!zachowaj_wniosek(ctx_, n, step->reached).ok()) return false;
    przedstawienie_faktow(ctx_);
    models_.przedstawienie_zmiennych();
    memory.model_stosowany.insert(n);
    models_.explain_relation(*step);
    offer_media(n, step->reached);
    return true;
}

void ForwardInference::offer_media(std::int32_t number, const std::string& condition) {
    ctx_.media.offer(number, condition);
}

void ForwardInference::end_by_koniec() {
    const std::string text = "Reguła z wnioskiem 'koniec' kończy wnioskowanie.";
    ctx_.screen(text);
    ctx_.screen_new_line();
    ctx_.ui.note("Uwaga - koniec!", text);
}

void ForwardInference::end_normally() {
    ctx_.clear_dialog();
    ctx_.ui.note("Uwaga!", "Brak możliwości dalszego wnioskowania!\n\nTeraz czas na podsumowanie!");
    ctx_.piszcr();
    ctx_.line("Brak możliwości dalszego wnioskowania!");
    ctx_.piszcr();
    ctx_.memory.szczegolowosc = "duża";
    przedstawienie_faktow(ctx_);
    ctx_.piszcr();
    models_.przedstawienie_zmiennych();
    ctx_.piszcr();
    const std::string distinguisher = name_of(ctx_.store, Kind::wyroznik);
    ctx_.line("To już wszystko, co wynika z bazy wiedzy " + distinguisher + ",");
    ctx_.ui.note("Uwaga!", "To już wszystko, co wynika z bazy wiedzy " +
                               ascii_upper(distinguisher) +
                               ",\nz zadeklarowanych faktów i wartości argumentów.\n\nKoniec "
                               "wnioskowania ekspertowego.");
    ctx_.line("z zadeklarowanych faktów i wartości argumentów.");
    ctx_.piszcr();
    ctx_.line("Koniec wnioskowania w przód.");
    ctx_.piszcr();
    podsumowanie(ctx_.store, ctx_.ui, ctx_.memory);
    auto final_rbd = std::make_shared<WorkingMemory>();
    ctx_.memory.rbd.hand_over(*final_rbd);
    ctx_.memory.final_rbd = std::move(final_rbd);
    ctx_.report.raport();
}

}  // namespace xamo
