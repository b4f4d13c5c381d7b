#include "inference/questions.h"

#include <algorithm>

#include "inference/recording.h"
#include "kb/conditions.h"
#include "kb/view_table.h"

namespace xamo {
namespace {

const char* const kChooseTrue = "Wskaż warunek będący prawdą!";

// The members a choice may still make true: a member already refuted in working memory is not
// offered, so that a choice can never record a condition together with its negation.
StringList open_members(const InferenceContext& ctx, const NameList& members) {
    StringList open;
    for (const Name& member : members) {
        const std::string negated = negacja(member);
        if (!ctx.memory.rbd.established(negated) && !ctx.memory.in_rbd_wstecz(negated))
            open.emplace_back(member.view());
    }
    return open.empty() ? members.texts() : open;
}

std::string member_chosen(InferenceContext& ctx, const StringList& members,
                          const std::string& prompt) {
    const auto chosen = ctx.ui.choose_from_list(kChooseTrue, prompt, members, false);
    const std::size_t index = chosen.empty() ? 0 : static_cast<std::size_t>(chosen.front());
    return members[std::min(index, members.size() - 1)];
}

// The texts of the conflict between two declared facts of one constraint, per base.
struct ConflictTexts {
    Kind kind;
    const char* heading;  // the output heading and dialog title of the presentation
    const char* title;
    const char* error_line;  // "Błąd bazy ...! Dwa warunki wykluczające się:"
    const char* declared;    // " zostały zadeklarowane w bazie ..."
    const char* option;
    const char* fix;
    const char* note_title;
    const char* note_declared;
    const char* note_option;
};

const ConflictTexts kRuleConflict{
    Kind::fakt,
    "W bazie reguł są następujące fakty:",
    "W bazie reguł są następujące fakty:",
    "Błąd bazy reguł! Dwa warunki wykluczające się:",
    " zostały zadeklarowane w bazie reguł jako fakty z CF=1.0.",
    "      'Baza reguł dokładna/Edycja bazy reguł' ",
    "i popraw błędną bazę reguł.",
    "Błąd bazy reguł! ",
    "\nzostały zadeklarowane w bazie reguł jako fakty.",
    "\n   'Baza reguł dokładna\n   Edycja bazy reguł' ",
};

const ConflictTexts kModelConflict{
    Kind::m_fakt,
    "Baza modeli zawiera nastepujące m_fakty:",
    "Baza modeli zawiera nastepujące m_fakty",
    "Błąd bazy modeli! Dwa warunki wykluczające się:",
    " zostały zadeklarowane w bazie modeli jako m_fakty.",
    "      'Baza modeli dokładna/Edycja bazy modeli' ",
    "i popraw błędną bazę modeli.",
    "Błąd bazy modeli! ",
    "\nzostały zadeklarowane w bazie modeli jako m_fakty.",
    "\n   'Baza modeli dokładna\n   Edycja bazy modelił' ",
};

const ConflictTexts& conflict_texts(Kind kind) {
    return kind == Kind::m_fakt ? kModelConflict : kRuleConflict;
}

void report_conflict(InferenceContext& ctx, const ConflictTexts& t, const std::string& c,
                     const std::string& d, std::int32_t number);

// The declared facts of one kind, indexed the first time a constraint is checked against them:
// a base without constraints never needs them.
LazyViewSet declared_facts(const FactStore& store, Kind kind) {
    return LazyViewSet([&store, kind](ViewTable& table) {
        table = ViewTable(store.all(kind).size());
        for (const Fact& fact : store.all(kind)) table.insert(TextFact(fact).text());
    });
}

bool no_conflict(InferenceContext& ctx, const std::string& c, const ConflictTexts& t,
                 const LazyViewSet& declared) {
    for (const std::size_t position : ctx.constraints_holding(c)) {
        const Fact& constraint = ctx.store.all(Kind::ograniczenie)[position];
        for (const auto& d : Constraint(constraint).members()) {
            if (d == c || !declared.contains(d)) continue;
            report_conflict(ctx, t, c, d.str(), Constraint(constraint).number());
            return false;
        }
    }
    return true;
}

void report_conflict(InferenceContext& ctx, const ConflictTexts& t, const std::string& c,
                     const std::string& d, std::int32_t number) {
    ctx.memory.blad_wykluczajacych = true;
    const std::string n = std::to_string(number);
    ctx.line(t.error_line);
    ctx.line("     " + c);
    ctx.line("     " + d);
    ctx.line("z ograniczenia dokładnego " + n + t.declared);
    ctx.line("");
    ctx.line("Wnioskowanie nie jest możliwe! Aby poprawić bazę reguł przejdź do opcji:");
    ctx.line(t.option);
    ctx.line(t.fix);
    ctx.ui.note(t.note_title, "Dwa warunki wykluczające się\n   " + c + "\n   " + d +
                                  "\nz ograniczenia " + n + t.note_declared +
                                  "\nWnioskowanie nie jest możliwe! \n\nAby poprawić bazę reguł, "
                                  "przejdź do opcji:" +
                                  t.note_option + "\n" + t.fix);
}

bool present_declared(InferenceContext& ctx, const ConflictTexts& t) {
    const auto& facts = ctx.store.all(t.kind);
    if (facts.empty()) return true;
    ctx.line(t.heading);
    ctx.clear_dialog();
    ctx.title = t.title;
    ctx.lines.reserve(facts.size());
    const LazyViewSet declared = declared_facts(ctx.store, t.kind);
    for (const Fact& fact : facts) {
        if (!no_conflict(ctx, TextFact(fact).text().str(), t, declared)) {
            ctx.clear_dialog();
            return false;
        }
        ctx.line_and_dialog("    " + TextFact(fact).text());
    }
    ctx.show_dialog();
    return true;
}

}  // namespace

void opcja_z_menu_szczegolowosci(InferenceMemory& memory, int choice) {
    memory.szczegolowosc.reset();
    if (choice == 1) memory.szczegolowosc = "mała";
    if (choice == 2) memory.szczegolowosc = "duża";
}

void ask_detail_level(InferenceContext& ctx) {
    const int choice =
        ctx.ui.choose_option({"Poziom szczegółowości",
                              "Wybierz poziom szczegółowości komunikatów i raportów ",
                              {"Mała szczegółowość", "Duża szczegółowość"},
                              1});
    opcja_z_menu_szczegolowosci(ctx.memory, choice);
}

char pytaj_o_warunek(InferenceContext& ctx, const std::string& c) {
    const std::string p = positive_form(c);
    if (const Fact* constraint = ctx.constraint_with(p)) {
        const StringList members = open_members(ctx, Constraint(*constraint).members());
        // The report keeps the presentation as the screen shows it, line by line.
        ctx.line("Tylko jeden warunek z ograniczenia dla listy: ");
        for (const auto& member : members) ctx.line("   " + member);
        ctx.line(" może być prawdą!");
        ctx.line(kChooseTrue);
        const std::int32_t number = Constraint(*constraint).number();
        const std::string chosen = member_chosen(ctx, members,
                                                 "Tylko jeden z warunków z ograniczenia " +
                                                     std::to_string(number) + " może być prawdą!");
        return pamietaj_wybor(ctx, members, number, c, chosen);
    }
    const std::string q = c + "?";
    ctx.screen(padded_question(q));
    ctx.report_only(q);
    const bool yes = ctx.ui.confirm("Warunek jest prawdą?", q);
    ctx.memory.answers.insert_or_assign(p, Answer{c, yes});
    if (yes) {
        ctx.line("  TAK");
        pamietaj(ctx, c, true);
        return 't';
    }
    ctx.line(is_negated(c) ? "  NIE" : "    NIE");
    pamietaj(ctx, c, false);
    return 'n';
}

bool pytaj_o_warunek_stosowania(InferenceContext& ctx, const std::string& w) {
    if (const Fact* constraint = ctx.constraint_with(positive_form(w))) {
        if (is_negated(w)) return false;
        const StringList members = open_members(ctx, Constraint(*constraint).members());
        const std::int32_t number = Constraint(*constraint).number();
        const std::string chosen = member_chosen(
            ctx, members,
            "Tylko jeden warunek z ograniczenia " + std::to_string(number) + " może być prawdą!");
        pamietaj_wybor_warunku_stosowania(ctx, members, number, chosen);
        return chosen == w;
    }
    const std::string q = w + "?";
    ctx.screen(padded_question(q));
    ctx.report_only(q);
    const char* title = is_negated(w) ? "Warunek stosowania jest prawdą?"
                                      : "Warunek stosowania modelu jest prawdą?";
    const bool yes = ctx.ui.confirm(title, q);
    ctx.memory.answers.insert_or_assign(positive_form(w), Answer{w, yes});
    if (yes) {
        ctx.line("  TAK");
        ctx.memory.rbd.add(0, w);
        return true;
    }
    ctx.memory.rbd.add(0, negacja(w));
    return false;
}

void przedstawienie_faktow(InferenceContext& ctx) {
    if (!ctx.detailed()) return;
    ctx.clear_dialog();
    ctx.piszcr();
    ctx.line("Dane są następujące fakty:");
    ctx.lines.reserve(ctx.memory.rbd.size() + ctx.memory.rbd_wstecz.size());
    const auto show = [&ctx](std::string_view fact) {
        if (fact == kEnd || fact == kNoCondition) return;
        ctx.line_and_dialog(std::string("    ").append(fact));
    };
    for (const Fact& rule : ctx.store.all(Kind::regula)) {
        if (Rule(rule).number() == 0 && only_no_condition(Rule(rule).conditions())) {
            ctx.line_and_dialog("    " + Rule(rule).conclusion());
        }
    }
    for (const auto& [number, fact] : ctx.memory.rbd) show(fact);
    for (const auto& fact : ctx.memory.rbd_wstecz) show(fact);
    if (ctx.lines.empty()) return;
    ctx.title = "Dane są następujące fakty:";
    ctx.show_dialog();
}

bool testuj_wykluczajace(InferenceContext& ctx, const std::string& c, Kind declared_kind) {
    return no_conflict(ctx, c, conflict_texts(declared_kind),
                       declared_facts(ctx.store, declared_kind));
}

bool przedstawienie_faktow_pierwotnych(InferenceContext& ctx) {
    return present_declared(ctx, kRuleConflict);
}

bool przedstawienie_m_faktow_pierwotnych(InferenceContext& ctx) {
    return present_declared(ctx, kModelConflict);
}

bool wyjasnienie_regula(InferenceContext& ctx, const Fact& rule, const std::string& result) {
    if (result == kEnd) return false;
    if (Rule(rule).display() == 0) return true;
    ctx.clear_dialog();
    const std::string number = std::to_string(Rule(rule).number());
    ctx.line("Stosuję regułę " + number + ": " + "Jeżeli");
    ctx.lines.push_back("Stosuję regułę " + number + ":");
    ctx.lines.push_back("Jeżeli");
    for (const auto& condition : Rule(rule).conditions()) ctx.line_and_dialog("    " + condition);
    ctx.line("to ");
    ctx.lines.push_back("to");
    ctx.line_and_dialog("    " + Rule(rule).conclusion());
    ctx.line("Stąd wynika wniosek: ");
    ctx.lines.push_back("Stąd wynika wniosek:");
    ctx.line_and_dialog("    " + result);
    ctx.piszcr();
    ctx.title = "Wyjaśnienie reguły";
    ctx.show_dialog();
    return true;
}

}  // namespace xamo
