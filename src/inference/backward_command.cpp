#include "inference/backward_command.h"

#include <algorithm>
#include <unordered_set>

#include "inference/forward.h"
#include "inference/questions.h"
#include "inference/summary.h"
#include "kb/codec.h"
#include "kb/conditions.h"

namespace xamo {
namespace {

const OpeningTexts kBackwardOpening{"Wnioskowanie rozwinięte dokładne wstecz",
                                    "                                   bazy rad ",
                                    "                             bazy dźwięku "};

// The texts in which the two kinds of hypothesis differ.
struct KindTexts {
    const char* title;  // the choice dialog
    const char* prompt;
    const char* checking;  // "Sprawdzam hipotezę ...", written
    const char* noting;    // the same in the note
    const char* result;    // "Hipoteza w sensie ...: "
};

const KindTexts kNarrow{"Hipoteza w sensie wąskim", "Wybierz hipotezę w sensie wąskim!",
                        "Sprawdzam hipotezę w sensie wąskim:  ",
                        "Sprawdzam hipotezę w sensie wąskim:  ", "Hipoteza w sensie wąskim: "};
const KindTexts kBroad{"Hipoteza w sensie szerokim", "Wybierz hipotezę w sensie szerokim!",
                       "Sprawdzam hipotezę w sensie szerokim: ",
                       "Sprawdzam hipotezę w sensie szerokim:  ", "Hipoteza w sensie szerokim: "};

const KindTexts& texts_of(HypothesisKind kind) {
    return kind == HypothesisKind::Narrow ? kNarrow : kBroad;
}

}  // namespace

StringList hypothesis_candidates(const FactStore& store, HypothesisKind kind) {
    StringList candidates;
    std::unordered_set<std::string> conditions;
    for (const Fact& rule : store.all(Kind::regula)) {
        candidates.push_back(Rule(rule).conclusion().str());
        for (const auto& c : strip_negations(Rule(rule).conditions())) conditions.insert(c);
    }
    if (store.any(Kind::nazwa_mo)) {
        for (Kind model_kind : {Kind::model, Kind::model_r}) {
            for (const Fact& model : store.all(model_kind)) {
                if (is_relational(model)) candidates.push_back(AnyModel(model).result().str());
            }
        }
    }
    std::erase_if(candidates, [&](const std::string& c) {
        return c == kEnd || (kind == HypothesisKind::Narrow && conditions.count(c) > 0);
    });
    std::sort(candidates.begin(), candidates.end(), cp1250_less);
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    return candidates;
}

BackwardInference::BackwardInference(InferenceContext& ctx) : ctx_(ctx), models_(ctx) {
    models_.explain_linear = false;
}

std::string BackwardInference::distinguisher_upper() const {
    return ascii_upper(ctx_.store.text(Kind::wyroznik).value_or(""));
}

void BackwardInference::run() {
    ForwardInference preparation(ctx_);
    preparation.base_faulty = base_faulty;
    preparation.show_description = show_description;
    if (!preparation.prepare(kBackwardOpening)) return;
    engine_.emplace(ctx_, models_, search);
    const int kind =
        ctx_.ui.choose_option({"Hipoteza wybór",
                               "Wybierz typ testowanej hipotezy!",
                               {"Hipoteza w sensie wąskim", "Hipoteza w sensie szerokim"},
                               1});
    if (!opcja_z_menu_testowania(kind == 2 ? HypothesisKind::Broad : HypothesisKind::Narrow)) {
        report_refutation();
    }
}

bool BackwardInference::opcja_z_menu_testowania(HypothesisKind kind) {
    if (ctx_.memory.blad_wykluczajacych) return false;
    if (!engine_) engine_.emplace(ctx_, models_, search);
    const KindTexts& texts = texts_of(kind);
    const StringList candidates = hypothesis_candidates(ctx_.store, kind);
    const auto chosen = ctx_.ui.choose_from_list(texts.title, texts.prompt, candidates, false);
    if (chosen.empty() || candidates.empty()) return false;
    const std::size_t index =
        std::min(static_cast<std::size_t>(chosen.front()), candidates.size() - 1);
    const std::string h = candidates[index];
    ctx_.pisz(texts.checking);
    ctx_.piszcr();
    ctx_.pisz("   " + h);
    ctx_.piszcr();
    ctx_.piszcr();
    ctx_.ui.note("Uwaga!", std::string(texts.noting) + "\n     " + h);
    ctx_.memory.hipoteza = h;
    if (!weryfikowanie_hipotezy(h)) return false;
    report_success(kind, h);
    return true;
}

bool BackwardInference::weryfikowanie_hipotezy(const std::string& h) {
    if (!engine_) engine_.emplace(ctx_, models_, search);
    if (!przedstawienie_faktow_pierwotnych(ctx_)) return false;
    if (!przedstawienie_m_faktow_pierwotnych(ctx_)) return false;
    if (ctx_.store.any(Kind::argument_znany)) models_.przedstawienie_zmiennych_pierwotnych();
    engine_->seed();
    ctx_.begin_progress(kBackwardOpening.title);
    struct EndProgress {
        InferenceContext& ctx;
        ~EndProgress() { ctx.end_progress(); }
    } end_progress{ctx_};
    engine_->verify_end_rules(h);
    return engine_->weryfikowanie_hipotezy_cd(h);
}

void BackwardInference::report_success(HypothesisKind kind, const std::string& h) {
    const std::string w = distinguisher_upper();
    const KindTexts& texts = texts_of(kind);
    const auto n = engine_->proved_by(h);
    ctx_.piszcr();
    ctx_.pisz(texts.result + h + "\njest prawdą dla bazy wiedzy ");
    ctx_.piszcr();
    ctx_.pisz(w + ", dla zadeklarowanych faktów i  wartości argumentów.");
    ctx_.piszcr();
    ctx_.piszcr();
    ctx_.clear_dialog();
    ctx_.title = "Wynik wnioskowania:";
    ctx_.lines = {texts.result, "   " + h, "jest prawdą dla bazy wiedzy ", "    " + w,
                  "oraz dla zadeklarowanych faktów i  wartości argumentów"};
    // A hypothesis established before any rule or model was used (it cannot be, for a
    // conclusion) names no rule.
    if (n) ctx_.lines.push_back("na mocy reguły " + std::to_string(*n) + ".");
    ctx_.show_dialog();
    if (n) ctx_.media.offer(*n, h);
    closing(h, true);
}

void BackwardInference::report_refutation() {
    if (!ctx_.memory.hipoteza || !engine_) return;
    const std::string h = *ctx_.memory.hipoteza;
    const auto n = engine_->refuted_by(h);
    if (!n) return;
    ctx_.pisz("Hipoteza: " + h);
    ctx_.piszcr();
    ctx_.pisz("jest nieprawdziwa dla bazy wiedzy: " + distinguisher_upper() + ", ");
    ctx_.piszcr();
    ctx_.pisz("zadeklarowanych faktów i wartości argumentów .");
    ctx_.piszcr();
    ctx_.piszcr();
    ctx_.clear_dialog();
    ctx_.title = "Wynik wnioskowania:";
    ctx_.lines = {"Hipoteza: ", "    " + h, "nie jest prawdą  dla bazy wiedzy ",
                  "    " + ctx_.store.text(Kind::wyroznik).value_or(""),
                  "oraz zadeklarowanych faktów i wartości argumentów."};
    ctx_.show_dialog();
    ctx_.media.offer(*n, negacja(h));
    closing(h, false);
}

void BackwardInference::closing(const std::string& h, bool proved) {
    const std::string w = distinguisher_upper();
    ctx_.ui.note("Uwaga!", "Teraz czas na podsumowanie!");
    ctx_.memory.szczegolowosc = "duża";
    przedstawienie_faktow(ctx_);
    ctx_.piszcr();
    models_.przedstawienie_zmiennych();
    ctx_.piszcr();
    const std::string course = proved ? "w trakcie pomyślnego testowania hipotezy:"
                                      : "w trakcie niepomyślnego testowania hipotezy:";
    ctx_.pisz("To już wszystko, co wynikło z bazy wiedzy " + w);
    ctx_.piszcr();
    ctx_.pisz("z zadeklarowanych faktów i wartości argumentów");
    ctx_.piszcr();
    ctx_.pisz(course);
    ctx_.piszcr();
    ctx_.pisz(h);
    const std::string opening = proved ? "To już wszystko, co wynikło z bazy wiedzy  \n     " + w
                                       : "To już wszystko, co wynikło z bazy wiedzy " + w;
    ctx_.ui.note(
        "Koniec wnioskowania wstecz",
        opening + "\nz zadeklarowanych faktów i wartości argumentów\n" + course + "\n    " + h);
    ctx_.memory.hipoteza.reset();
    podsumowanie(ctx_.store, ctx_.ui, ctx_.memory);
    ctx_.report.raport();
}

}  // namespace xamo
