// The load sequence (load_base), the same for every kind:
//   precondition  - a non-rule base needs a loaded rule base and no contradiction flag
//                   (refused_by_precondition)
//   clearing      - everything for a rule base (clear_knowledge_base), else the base's own section
//   file dialog   - a cancel ends here ("xamo" as title for the rule base)
//   directory     - change directory, clear the message window, compare distinguishers
//                   (distinguisher_matches)
//   reading       - read the section; a failure is reported by report_read_failure and nothing is
//                   recorded
//   names         - name facts, then the kind's checks before the message (before_message)
//   message       - the "loaded" message and note (report_loaded)
//   after message - the kind's checks after the message (after_message); a check may unload the
//                   base again; an external contradiction of the rule base and a joint
//                   contradiction of models and rules stop the sequence with the base loaded, a
//                   contradiction of the model base stops it with the base's name withdrawn
#include "loading/loading.h"

#include <filesystem>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "analysis/same_results.h"
#include "askable/askable.h"
#include "dialog/interaction.h"
#include "dialog/write_lines.h"
#include "kb/base_file.h"
#include "kb/beside.h"
#include "kb/codec.h"
#include "kb/conditions.h"
#include "kb/files.h"
#include "loading/base_texts.h"
#include "loading/consult_error.h"
#include "loading/load_checks.h"
#include "media/description.h"
#include "media/media_files.h"
#include "verify/external_contradictions.h"
#include "verify/internal_contradictions.h"
#include "verify/model_contradictions.h"
#include "verify/model_rule_contradictions.h"
#include "verify/redundancy.h"
#include "verify/rule_constraint_contradictions.h"
#include "verify/rule_constraint_redundancy.h"

namespace xamo {
namespace {

constexpr Section kBaseSections[] = {Section::Rules,  Section::Models,   Section::Constraints,
                                     Section::Advice, Section::Graphics, Section::Sounds};

void remove_name_facts(FactStore& store, const BaseTexts& texts) {
    if (texts.name_fact) store.remove_all(*texts.name_fact);
    if (texts.path_fact) store.remove_all(*texts.path_fact);
}

void record_name_facts(FactStore& store, const BaseTexts& texts, const std::string& path) {
    if (texts.path_fact) store.set_text(*texts.path_fact, path);
    if (texts.name_fact) store.set_text(*texts.name_fact, file_name_of(path));
}

void change_directory(const std::string& path) {
    std::error_code ec;
    std::filesystem::current_path(std::filesystem::path(directory_of(path)), ec);
}

// The title names a knowledge base only while its rule base is loaded.
void title_without_rule_base(UserInteraction& ui) { ui.set_main_title("xamo"); }

// Unloading the rule base leaves the distinguisher: the other bases keep their names until
// they are loaded again. The findings of its diagnoses go with it, and so do their reports
// (external contradictions, internal contradictions, redundancy).
void unload_rule_base(KnowledgeBase& kb) {
    kb.store.remove_all(Kind::regula);
    kb.store.remove_all(Kind::fakt);
    remove_name_facts(kb.store, base_texts(BaseKind::Rules));
    kb.askable.clear();
    kb.diagnoses.clear();
    if (kb.set_enabled) kb.set_enabled({10067, 10068, 10069}, false);
    title_without_rule_base(kb.ui);
}

// Precondition: the bases a non-rule base depends on; true when the load is refused.
bool refused_by_precondition(KnowledgeBase& kb, BaseKind kind) {
    if (kind == BaseKind::Rules) return false;
    if (!kb.store.any(Kind::nazwa_re)) {
        kb.ui.note("Uwaga!", "Proszę załadować bazę reguł!");
        return true;
    }
    // The diagnosis that set the flag has already told the user why.
    if (kb.flags.sprzecznosc_1z) return true;
    const bool needs_joint = kind == BaseKind::Constraints || kind == BaseKind::Advice;
    return needs_joint && kb.flags.sprzecznosc_mr;
}

bool distinguisher_matches(KnowledgeBase& kb, const std::string& path) {
    const std::string name = file_name_of(path);
    if (distinguisher(name) == kb.store.text(Kind::wyroznik).value_or("")) return true;
    const std::string rule_base = kb.store.text(Kind::nazwa_re).value_or("");
    UserInteraction& ui = kb.ui;
    ui.new_line();
    ui.write(" Wybrana baza: ");
    ui.new_line();
    ui.new_line();
    ui.write("      " + path);
    ui.new_line();
    ui.new_line();
    ui.write(" nie odpowiada bazie reguł: ");
    ui.new_line();
    ui.new_line();
    ui.write("      " + rule_base);
    ui.new_line();
    ui.new_line();
    ui.write(" i dlatego nie zostanie załadowana.");
    ui.new_line();
    ui.new_line();
    ui.note("Uwaga błąd!", "Wybrana baza\n   " + name + "\nnie odpowiada bazie reguł\n   " +
                               rule_base + "\ni dlatego nie zostanie załadowana.");
    return false;
}

// Reading failed: the file could not be read or does not follow the syntax.
void report_read_failure(UserInteraction& ui, const BaseTexts& texts, const ReadError& error,
                         bool syntax_shown) {
    if (syntax_shown) {
        write_lines(ui, texts.syntax_hint_lines);
        ui.note(texts.syntax_note_title, texts.syntax_note_text);
        return;
    }
    // A file that cannot be read (missing, a directory, a device or FIFO, too large) or holds an
    // out-of-range integer is reported like an empty line; the cause is written first so that the
    // user can tell them apart.
    if (error.kind != ReadErrorKind::EmptyLine) {
        std::string cause = error.message();
        if (error.line_number > 0) cause += " (linia " + std::to_string(error.line_number) + ")";
        write_line(ui, cause);
    }
    ui.write(texts.read_error_first + "Baza zawiera puste linie!");
    ui.new_line();
    ui.new_line();
    write_lines(ui, texts.read_error_lines);
    write_line(ui, "wybierz błędną bazę i usuń puste linie, które najczęściej są na końcu bazy.");
    ui.note(texts.read_error_note_title, texts.read_error_note_text);
}

void report_loaded(UserInteraction& ui, const BaseTexts& texts, const std::string& name) {
    ui.write(texts.loaded_output + name);
    ui.new_line();
    ui.write("została załadowana!");
    ui.new_line();
    ui.new_line();
    ui.note(texts.loaded_note_title, texts.loaded_note_text + name + "\nzostała załadowana.");
}

// Checks of the rule base after its "loaded" message. False when the base was unloaded again.
bool finish_rule_base(KnowledgeBase& kb, const std::string& name) {
    kb.ui.set_main_title("xamo_RD wnioskuje dla bazy wiedzy " +
                         upper_case(kb.store.text(Kind::wyroznik).value_or("")));
    testuj_numery(kb.store, kb.ui, kb.numbering, NumberedBase::Rules, name);
    compute_declared_facts(kb.store, kb.load);
    {
        // A contradiction stops the load here: the base stays loaded for editing and for the
        // report of its contradictions, but enables nothing.
        RuleDiagnosisContext external(kb.store, kb.ui, kb.askable, kb.flags, kb.diagnoses,
                                      kb.set_enabled);
        if (!external::testuj_sprzecznosc_1z(external)) return false;
    }
    remember_description(kb.store, kb.media);
    show_description(kb.media, kb.ui);
    RuleAskable askable = askable_conditions_of_rules(kb.store, kb.askable);
    // The declared facts are looked up on a second thread while the askable conditions are
    // sorted and written: on a large base each takes a tenth of the load.
    Beside<std::vector<std::string_view>> not_askable(
        [&store = std::as_const(kb.store), set = TextSet({}, askable.numbered)] {
            return declared_not_askable(store, set);
        });
    kb.ui.new_line();
    kb.ui.new_line();
    write_line(kb.ui, "Warunki dopytywalne bazy reguł " + name + " bez uwzględnienia bazy modeli:");
    remember_askable(kb.askable, kb.ui, std::move(askable));
    const std::vector<std::string_view> declared_facts = not_askable.get();
    kb.ui.new_line();
    kb.ui.new_line();
    {
        // Flattening needs the askable conditions; both searches share the rules' flattenings.
        RuleDiagnosisContext flattening(kb.store, kb.ui, kb.askable, kb.flags, kb.diagnoses,
                                        kb.set_enabled);
        internal::testuj_sprzecznosc_1w(flattening);
        redundancy::testuj_nadmiar_1(flattening);
    }
    if (!check_declared_facts(kb, declared_facts)) {
        unload_rule_base(kb);
        return false;
    }
    report_single_condition_rules(kb, name);
    return true;
}

// The contradictions of the model base, then those of models and rules together. False when one
// was found: the load stops there (the base's name is withdrawn after a contradiction of its own;
// after a joint one the base stays loaded but enables nothing).
bool diagnose_model_base(KnowledgeBase& kb, const std::string& name) {
    UserInteraction& ui = kb.ui;
    RuleDiagnosisContext ctx(kb.store, ui, kb.askable, kb.flags, kb.diagnoses, kb.set_enabled);
    write_lines(ui, {"Baza modeli " + name + "jest diagnozowana na obecność sprzeczności.",
                     "Czas diagnozowania jest zależny od złożoności bazy."});
    // An interrupted search is passed over without a verdict.
    switch (models::informuj_sprzecznosc_mz(ctx, kb.model_diagnoses)) {
        case models::Outcome::Found:
            return false;
        case models::Outcome::Clean:
            ui.write("Baza modeli nie ma sprzeczności!");
            ui.new_line();
            ui.new_line();
            ui.note("Wynik diagnozowania sprzeczności",
                    "Baza modeli rozwinięta dokładna\n   " + name + "\nnie ma sprzeczności!");
            break;
        case models::Outcome::Interrupted:
            break;
    }
    const std::string rule_base = kb.store.text(Kind::nazwa_re).value_or("");
    write_lines(ui, {"Baza modeli " + name + " i baza reguł " + rule_base,
                     "są diagnozowane na obecność sprzeczności łącznych.",
                     "Czas diagnozowania jest zależny od złożoności bazy."});
    switch (model_rule::informuj_sprzecznosc_mr(ctx, kb.model_diagnoses)) {
        case models::Outcome::Found:
            return false;
        case models::Outcome::Clean:
            ui.write("Baza modeli i baza reguł nie mają sprzeczności łącznych!");
            ui.new_line();
            ui.new_line();
            ui.note("Wynik diagnozowania sprzeczności łącznych",
                    "Baza modeli rozwinięta dokładna\n   " + name +
                        "\ni baza reguł rozwinięta dokładna\n   " + rule_base +
                        "\nnie mają sprzeczności łącznych!");
            break;
        case models::Outcome::Interrupted:
            break;
    }
    return true;
}

// Checks of the model base after its "loaded" message. A contradiction stops the load; a fault
// found by a later check unloads the model base, and the checks after it find nothing in the
// empty base. False when the load stopped.
bool finish_model_base(KnowledgeBase& kb, const std::string& name) {
    testuj_numery(kb.store, kb.ui, kb.numbering, NumberedBase::Models, name);
    if (!diagnose_model_base(kb, name)) return false;
    const std::string rule_base = kb.store.text(Kind::nazwa_re).value_or("");
    compute_model_lists(kb.store, kb.askable);
    askable_with_models(kb.askable);
    askable_of_models(kb.store, kb.askable);
    write_display_lists(kb.askable, kb.ui, rule_base, name);
    if (find_name_clash(kb.askable, kb.ui, rule_base, name)) {
        clear_base(kb, BaseKind::Models);
        unload_rule_base(kb);
        return true;
    }
    if (find_bad_operation(kb)) clear_base(kb, BaseKind::Models);
    if (find_unequal_lists(kb)) clear_base(kb, BaseKind::Models);
    if (find_bad_known_arguments(kb, name)) clear_base(kb, BaseKind::Models);
    compute_declared_facts(kb.store, kb.load);
    report_tautological_models(kb, name);
    return true;
}

// Checks of the constraint base before its "loaded" message. False when the base was refused.
bool check_constraint_base(KnowledgeBase& kb, const std::string& name) {
    if (find_short_constraint(kb, name) || find_non_askable_member(kb, name)) {
        clear_base(kb, BaseKind::Constraints);
        return false;
    }
    return true;
}

// Models of one result checked against the constraints: when their application conditions may
// hold together, the three bases cannot be used together and all are unloaded.
bool same_results_with_constraints(KnowledgeBase& kb) {
    RuleDiagnosisContext ctx(kb.store, kb.ui, kb.askable, kb.flags, kb.diagnoses, kb.set_enabled);
    return testuj_wyniki_wszystkich_modeli_z_og(ctx);
}

void finish_constraint_base(KnowledgeBase& kb, const std::string& name) {
    testuj_numery(kb.store, kb.ui, kb.numbering, NumberedBase::Constraints, name);
    if (!same_results_with_constraints(kb)) {
        clear_base(kb, BaseKind::Constraints);
        clear_base(kb, BaseKind::Models);
        unload_rule_base(kb);
        return;
    }
    compute_declared_facts(kb.store, kb.load);
    // Both searches share the rules' flattenings.
    RuleDiagnosisContext ctx(kb.store, kb.ui, kb.askable, kb.flags, kb.diagnoses, kb.set_enabled);
    joint_contradictions::testuj_sprzecznosc_2(ctx, kb.constraint_diagnoses);
    joint_redundancy::testuj_nadmiar_2(ctx, kb.constraint_diagnoses);
}

MediaKind media_kind(BaseKind kind) {
    if (kind == BaseKind::Graphics) return MediaKind::Picture;
    if (kind == BaseKind::Sounds) return MediaKind::Sound;
    return MediaKind::Advice;
}

// Checks before the "loaded" message. False when the base was refused and the command ends.
bool before_message(KnowledgeBase& kb, BaseKind kind, const std::string& name) {
    switch (kind) {
        case BaseKind::Rules:
            kb.store.set_text(Kind::wyroznik, distinguisher(name));
            kb.store.set_text(Kind::rozszerzenie, name_extension(name));
            return true;
        case BaseKind::Constraints:
            return check_constraint_base(kb, name);
        case BaseKind::Advice:
        case BaseKind::Graphics:
        case BaseKind::Sounds:
            if (check_media_directory(kb.store, kb.ui, media_kind(kind))) return true;
            clear_base(kb, kind);
            return false;
        case BaseKind::Models:
            return true;
    }
    return true;
}

// Checks after the "loaded" message. False when the base was unloaded again.
bool after_message(KnowledgeBase& kb, BaseKind kind, const std::string& name) {
    switch (kind) {
        case BaseKind::Rules:
            return finish_rule_base(kb, name);
        case BaseKind::Models:
            if (!finish_model_base(kb, name)) return false;
            break;
        case BaseKind::Constraints:
            finish_constraint_base(kb, name);
            break;
        case BaseKind::Advice:
            testuj_numery(kb.store, kb.ui, kb.numbering, NumberedBase::Advice, name);
            break;
        case BaseKind::Graphics:
        case BaseKind::Sounds:
            break;
    }
    return base_loaded(kb.store, kind);
}

// A rule-base load that ends without a base (cancelled or refused) has already cleared the
// knowledge base.
std::string not_loaded(KnowledgeBase& kb, BaseKind kind) {
    if (kind == BaseKind::Rules) title_without_rule_base(kb.ui);
    return {};
}

}  // namespace

bool base_loaded(const FactStore& store, BaseKind kind) {
    const BaseTexts& texts = base_texts(kind);
    return store.any(texts.name_fact ? *texts.name_fact : *texts.path_fact);
}

void compute_declared_facts(const FactStore& store, LoadMemory& load) {
    // The declared facts (lista_faktow) are the store's fakt, then its m_fakt, in file order:
    // read there, not copied (a large base declares hundreds of thousands).
    std::unordered_set<std::string> members;
    for (const Fact& constraint : store.all(Kind::ograniczenie)) {
        for (const Name& member : Constraint(constraint).members()) members.emplace(member.view());
    }
    load.fakty_ograniczen.clear();
    if (members.empty()) return;
    for (Kind kind : {Kind::fakt, Kind::m_fakt}) {
        for (const Fact& fact : store.all(kind)) {
            if (members.contains(TextFact(fact).text().str()))
                load.fakty_ograniczen.push_back(TextFact(fact).text().str());
        }
    }
}

void clear_knowledge_base(KnowledgeBase& kb) {
    for (Section section : kBaseSections) kb.store.clear_section(section);
    kb.store.clear_section(Section::Names);
    // The report text is emptied, not removed: later texts are collected into it.
    kb.store.set_text(Kind::tekst_raportu, "");
    // Askable lists, diagnosis flags, numbering results, inference memory and every other
    // working section registered with the store.
    kb.store.clear_working();
}

void clear_base(KnowledgeBase& kb, BaseKind kind) {
    const BaseTexts& texts = base_texts(kind);
    kb.store.clear_section(texts.section);
    remove_name_facts(kb.store, texts);
    switch (kind) {
        case BaseKind::Models:
            kb.flags.clear_model_verdicts();
            kb.model_diagnoses.clear();
            kb.load.model_tautologiczny.clear();
            kb.numbering.forget(NumberedBase::Models);
            kb.askable.clear_model_lists();
            break;
        case BaseKind::Constraints:
            // The flattenings recorded by the joint contradictions go too: kept, they would hide
            // the same contradictions with the constraints loaded next.
            kb.constraint_diagnoses.clear();
            kb.numbering.forget(NumberedBase::Constraints);
            break;
        case BaseKind::Advice:
            kb.numbering.forget(NumberedBase::Advice);
            break;
        case BaseKind::Rules:
            kb.numbering.forget(NumberedBase::Rules);
            break;
        case BaseKind::Graphics:
        case BaseKind::Sounds:
            break;
    }
}

std::string load_base(KnowledgeBase& kb, BaseKind kind) {
    const BaseTexts& texts = base_texts(kind);
    UserInteraction& ui = kb.ui;
    if (refused_by_precondition(kb, kind)) return {};
    if (kind == BaseKind::Rules)
        clear_knowledge_base(kb);
    else
        clear_base(kb, kind);

    const auto chosen = ui.choose_file_to_open(texts.open_title, {texts.filter}, texts.mask);
    if (!chosen || chosen->empty()) return not_loaded(kb, kind);
    const std::string path = *chosen;
    const std::string name = file_name_of(path);
    change_directory(path);
    ui.clear_messages();
    if (kind != BaseKind::Rules && !distinguisher_matches(kb, path)) return {};

    if (const auto error = read_section(kb.store, texts.section, path)) {
        // Nothing of a base that failed to load stays: inference would use it.
        kb.store.clear_section(texts.section);
        const bool syntax_shown = show_consult_error(ui, *error, path);
        report_read_failure(ui, texts, *error, syntax_shown);
        return not_loaded(kb, kind);
    }
    if (texts.blank_lines_after_read) {
        ui.new_line();
        ui.new_line();
    }
    record_name_facts(kb.store, texts, path);
    if (!before_message(kb, kind, name)) return {};
    report_loaded(ui, texts, name);
    if (!after_message(kb, kind, name)) return {};
    return path;
}

void create_base(KnowledgeBase& kb, BaseKind kind) {
    const BaseTexts& texts = base_texts(kind);
    UserInteraction& ui = kb.ui;
    switch (kind) {
        case BaseKind::Rules:
            kb.store.clear_section(Section::Rules);
            remove_name_facts(kb.store, texts);
            kb.askable.clear();
            break;
        case BaseKind::Constraints:
            kb.store.remove_all(Kind::ograniczenie);
            break;
        default:
            clear_base(kb, kind);
            break;
    }
    const auto chosen = ui.choose_file_to_save(texts.save_title, {texts.filter}, texts.save_mask);
    if (!chosen || chosen->empty()) return;
    const std::string name = file_name_of(*chosen);
    const FileResult written = write_file_replacing(*chosen, "");
    if (!written.ok) {
        ui.note("Uwaga błąd!", written.error);
        return;
    }
    ui.note(texts.create_note_title,
            "Nowa baza " + texts.words + " " + name + " została utworzona.");
    const int answer = ui.ask(
        texts.create_ask_title,
        "Czy chcesz przejść od razu do edycji\nnowej bazy " + texts.words + " " + name + " ?",
        {"&TAK", "&NIE"});
    if (answer != 1) return;
    if (!texts.media_hint.empty()) ui.note("Uwaga!", texts.media_hint);
    ui.open_editor(*chosen);
}

void delete_base(KnowledgeBase& kb, BaseKind kind) {
    const BaseTexts& texts = base_texts(kind);
    UserInteraction& ui = kb.ui;
    const auto chosen =
        ui.choose_file_to_open(texts.delete_title, {texts.delete_filter}, texts.delete_mask);
    if (!chosen || chosen->empty()) return;
    const std::string name = file_name_of(*chosen);
    if (!ui.confirm_deletion(texts.delete_ask_title, texts.delete_question + name + " ?")) return;
    if (const FileResult deleted = delete_file(*chosen, texts.delete_mask); !deleted.ok) {
        ui.note("Uwaga błąd!", deleted.error);
        return;
    }
    ui.note("Uwaga!", texts.deleted_words + name + " została usunięta.");
    if (kind == BaseKind::Rules) {
        kb.store.remove_all(Kind::regula);
        kb.store.remove_all(Kind::fakt);
        remove_name_facts(kb.store, texts);
    } else {
        clear_base(kb, kind);
    }
}

}  // namespace xamo
