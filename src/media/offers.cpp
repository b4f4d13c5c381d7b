#include "media/offers.h"

#include "dialog/interaction.h"
#include "dialog/write_lines.h"
#include "kb/codec.h"
#include "kb/conditions.h"
#include "kb/files.h"
#include "kb/model_symbols.h"
#include "media/media_files.h"

namespace xamo {
namespace {

enum class Source { Rule, Model };

// The item that derived `positive` (the condition with any negation removed) under `number`, as
// the first case that applies: a rule, then a relational model; only when it explains itself.
std::optional<Source> deriving_item(const FactStore& store, std::int32_t number,
                                    const std::string& positive) {
    for (const Fact& rule : store.all(Kind::regula)) {
        const Rule r(rule);
        if (r.number() == number && r.conclusion() == positive && r.display() == 1)
            return Source::Rule;
    }
    for (Kind kind : {Kind::model, Kind::model_r}) {
        for (const Fact& model : store.all(kind)) {
            const AnyModel m(model);
            const bool relational = kind == Kind::model
                                        ? is_basic_relation(Model(model).symbol())
                                        : is_extended_relation(ModelR(model).symbol());
            if (relational && m.number() == number && m.result() == positive && m.display() == 1)
                return Source::Model;
        }
    }
    return std::nullopt;
}

const Fact* entry_for(const FactStore& store, Kind kind, std::int32_t number) {
    for (const Fact& fact : store.all(kind)) {
        if (MediaEntry(fact).number() == number) return &fact;
    }
    return nullptr;
}

struct OfferTexts {
    MediaKind kind;
    const char* rule_line;   // written before the question for a rule's conclusion
    const char* model_line;  // ... for a relational model's
    const char* question;
    const char* negated_model_question;
    // The line says what the question asks.
    const char* negated_model_line;
};

const OfferTexts kAdvice{MediaKind::Advice,
                         " Czy chcesz uzyskać radę dla reguly?  ",
                         " Czy chcesz uzyskać radę dla modelu?  ",
                         "Czy chcesz uzyskać radę?",
                         "Czy chcesz uzyskać radę?",
                         " Czy chcesz uzyskać radę dla modelu?  "};
const OfferTexts kPicture{MediaKind::Picture,
                          " Czy chcesz przejrzeć dołączoną grafikę?  ",
                          " Czy chcesz przejrzeć dołączoną grafikę?  ",
                          "Czy chcesz przejrzeć dołączoną grafikę?",
                          "Czy chcesz przejrzeć dołączoną grafikę?",
                          " Czy chcesz przejrzeć dołączoną grafikę?  "};
const OfferTexts kSound{MediaKind::Sound,
                        " Czy chcesz przesłuchać dołączony dźwięk?  ",
                        " Czy chcesz przesłuchać dołączony dźwięk?  ",
                        "Czy chcesz przesłuchać dołączony dźwięk?",
                        "Czy chcesz przesłuchać dołączoną melodię?",
                        " Czy chcesz przesłuchać dołączoną melodię?  "};

// Shows the file. Nothing when it is missing or cannot be read (answered like "No"); otherwise
// the fault to report, empty when it was shown or played.
std::optional<std::string> present(UserInteraction& ui, MediaKind kind, const MediaFile& file) {
    if (!file.exists) return std::nullopt;
    switch (kind) {
        case MediaKind::Advice: {
            const auto text = read_advice(file.path);
            if (!text) return std::nullopt;
            ui.show_advice(*text);
            return "";
        }
        case MediaKind::Picture:
            if (ui.show_picture_dialog(file.path)) return "";
            return "Nie można wyświetlić pliku graficznego " + file.path + ".";
        case MediaKind::Sound:
            if (ui.play_sound(file.path)) return "";
            return sound_failure(ui, file.path);
    }
    return std::nullopt;
}

void offer(FactStore& store, UserInteraction& ui, const OfferTexts& texts, std::int32_t number,
           const std::string& conclusion) {
    const bool negated = is_negated(conclusion);
    const std::string positive = negated ? negacja(conclusion) : conclusion;
    const Fact* entry = entry_for(
        store, negated ? negated_entry_kind(texts.kind) : positive_entry_kind(texts.kind), number);
    if (!entry) return;
    const auto source = deriving_item(store, number, positive);
    if (!source) return;
    const bool model = *source == Source::Model;
    const bool negated_model = model && negated;
    ui.write(negated_model ? texts.negated_model_line : model ? texts.model_line : texts.rule_line);
    const char* question = negated_model ? texts.negated_model_question : texts.question;
    if (ui.confirm("Wybierz:", question)) {
        const MediaFile file = resolve_media(store, texts.kind, MediaEntry(*entry).name().str());
        if (const auto fault = present(ui, texts.kind, file)) {
            ui.new_line();
            if (!fault->empty()) write_line(ui, *fault);
            ui.new_line();
            return;
        }
    }
    ui.write("    NIE");
    ui.new_line();
    ui.new_line();
}

}  // namespace

std::string sound_failure(const UserInteraction& ui, const std::string& path) {
    std::string text = "Nie można odtworzyć pliku dźwiękowego " + path + ".";
    if (const std::string why = ui.why_sound_failed(); !why.empty())
        text += " Przyczyna: " + why + ".";
    return text;
}

std::optional<std::string> read_advice(const std::string& path) {
    std::string bytes;
    if (!read_file_bytes(path, bytes).ok) return std::nullopt;
    return cp1250_to_utf8(bytes);
}

void udziel_rady(FactStore& store, UserInteraction& ui, std::int32_t number,
                 const std::string& conclusion) {
    offer(store, ui, kAdvice, number, conclusion);
}

void wyswietl_grafike(FactStore& store, UserInteraction& ui, std::int32_t number,
                      const std::string& conclusion) {
    offer(store, ui, kPicture, number, conclusion);
}

void przesluchaj_melodie(FactStore& store, UserInteraction& ui, std::int32_t number,
                         const std::string& conclusion) {
    offer(store, ui, kSound, number, conclusion);
}

}  // namespace xamo
