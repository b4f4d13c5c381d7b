#include "verify/internal_contradictions.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "dialog/interaction.h"
#include "dialog/report.h"
#include "dialog/write_lines.h"
#include "kb/conditions.h"
#include "verify/fixed_flattenings.h"

namespace xamo::internal {
namespace {

constexpr int kReportCommand = 10068;
const std::string kTitle = "Diagnostyka sprzeczności wewnętrznych bazy reguł";

std::size_t mix(std::size_t seed, std::size_t value) {
    return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

std::size_t hash_of(const FlattenedRule& rule) {
    std::size_t h = std::hash<std::int32_t>{}(rule.number);
    h = mix(h, std::hash<std::string>{}(rule.conclusion));
    for (const auto& c : rule.conditions) h = mix(h, std::hash<std::string>{}(c));
    h = mix(h, rule.conditions.size());
    for (std::int32_t n : rule.numbers) h = mix(h, std::hash<std::int32_t>{}(n));
    return h;
}

// The duplicate test of the stored flattenings: equal when all four fields are equal.
class FlattenedSet {
  public:
    explicit FlattenedSet(const std::vector<FlattenedRule>& stored) : stored_(stored) {
        for (std::size_t i = 0; i < stored.size(); ++i) buckets_[hash_of(stored[i])].push_back(i);
    }
    // Adds the position of a flattening just stored; false when an equal one was there.
    bool insert_last() {
        const std::size_t i = stored_.size() - 1;
        auto& bucket = buckets_[hash_of(stored_[i])];
        for (std::size_t j : bucket) {
            if (stored_[j] == stored_[i]) return false;
        }
        bucket.push_back(i);
        return true;
    }

  private:
    const std::vector<FlattenedRule>& stored_;
    std::unordered_map<std::size_t, std::vector<std::size_t>> buckets_;
};

std::string verdict_key(std::int32_t number, const std::string& conclusion) {
    return std::to_string(number) + '\x01' + conclusion;
}

// The verdict per flattening: a contradictory flattening adds "TAK"; a consistent one removes the
// rule's "TAK" verdicts and adds "NIE".
class Verdicts {
  public:
    explicit Verdicts(std::vector<InternalVerdict>& all) : all_(all) {
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (all[i].contradictory)
                open_[verdict_key(all[i].number, all[i].conclusion)].push_back(i);
        }
    }
    void add(std::int32_t number, const std::string& conclusion, bool contradictory) {
        const std::string key = verdict_key(number, conclusion);
        if (contradictory) {
            open_[key].push_back(all_.size());
        } else if (auto it = open_.find(key); it != open_.end()) {
            for (std::size_t i : it->second) removed_.insert(i);
            open_.erase(it);
        }
        all_.push_back({number, conclusion, contradictory});
    }
    void compact() {
        if (removed_.empty()) return;
        std::vector<InternalVerdict> kept;
        kept.reserve(all_.size() - removed_.size());
        for (std::size_t i = 0; i < all_.size(); ++i) {
            if (!removed_.contains(i)) kept.push_back(std::move(all_[i]));
        }
        all_ = std::move(kept);
        removed_.clear();
    }

  private:
    std::vector<InternalVerdict>& all_;
    std::unordered_map<std::string, std::vector<std::size_t>> open_;
    std::unordered_set<std::size_t> removed_;
};

// The decision per conclusion (pisz_sprzecznosc): a conclusion with a consistent flattening loses
// all its verdicts; otherwise the flag is set. Returns the flag.
bool decide(std::vector<InternalVerdict>& verdicts, bool flag) {
    std::unordered_map<std::string_view, std::size_t> consistent;
    std::unordered_map<std::string_view, std::vector<std::size_t>> by_conclusion;
    for (std::size_t i = 0; i < verdicts.size(); ++i) {
        by_conclusion[verdicts[i].conclusion].push_back(i);
        if (!verdicts[i].contradictory) ++consistent[verdicts[i].conclusion];
    }
    std::vector<char> removed(verdicts.size(), 0);
    for (std::size_t i = 0; i < verdicts.size(); ++i) {
        if (removed[i] || !verdicts[i].contradictory) continue;
        auto it = consistent.find(verdicts[i].conclusion);
        if (it != consistent.end() && it->second > 0) {
            for (std::size_t j : by_conclusion[verdicts[i].conclusion]) removed[j] = 1;
            it->second = 0;
        } else {
            flag = true;
        }
    }
    std::vector<InternalVerdict> kept;
    for (std::size_t i = 0; i < verdicts.size(); ++i) {
        if (!removed[i]) kept.push_back(std::move(verdicts[i]));
    }
    verdicts = std::move(kept);
    return flag;
}

bool any_contradictory(const std::vector<InternalVerdict>& verdicts) {
    for (const auto& v : verdicts) {
        if (v.contradictory) return true;
    }
    return false;
}

}  // namespace

bool testuj_sprzecznosc(const StringList& conditions) {
    // Walking from the end, the set holds exactly the conditions that stand later in the list.
    std::unordered_set<std::string_view> later;
    std::vector<std::string> negations(conditions.size());
    for (std::size_t i = conditions.size(); i-- > 0;) {
        negations[i] = negacja(conditions[i]);
        if (later.contains(negations[i])) return true;
        later.insert(conditions[i]);
    }
    return false;
}

namespace {

// A flattening by condition ids and rule numbers, for telling one rule's flattenings apart.
struct IdFlattening {
    std::vector<ConditionId> conditions;
    IntegerList numbers;
    bool operator==(const IdFlattening&) const = default;
};

struct IdFlatteningHash {
    std::size_t operator()(const IdFlattening& f) const {
        std::size_t h = f.conditions.size();
        for (ConditionId c : f.conditions) h = mix(h, c);
        for (std::int32_t n : f.numbers) h = mix(h, static_cast<std::size_t>(n));
        return h;
    }
};

// testuj_sprzecznosc on condition ids: walking from the end, the marks hold the conditions that
// stand later in the list.
bool holds_pair(const RuleIndex& index, const std::vector<ConditionId>& conditions) {
    const std::uint32_t generation = index.bump();
    auto& marks = index.marks();
    for (std::size_t i = conditions.size(); i-- > 0;) {
        if (marks[index.negation(conditions[i])] == generation) return true;
        marks[conditions[i]] = generation;
    }
    return false;
}

// Whether each rule's flattenings may repeat a flattening already met: when more than one rule
// shares its number and conclusion, or one of the stored ones has them.
std::vector<char> may_repeat(const RuleIndex& index, const std::vector<FlattenedRule>& stored) {
    std::unordered_map<std::string, std::size_t> count;
    for (const auto& f : stored) count[verdict_key(f.number, f.conclusion)] += 2;
    const auto& rules = index.rules();
    std::vector<std::string> keys;
    keys.reserve(rules.size());
    for (const auto& rule : rules) {
        keys.push_back(verdict_key(rule.number, index.text(rule.conclusion)));
        ++count[keys.back()];
    }
    std::vector<char> out(rules.size());
    for (std::size_t i = 0; i < rules.size(); ++i) out[i] = count[keys[i]] > 1 ? 1 : 0;
    return out;
}

// The flattenings the report can show: those of conclusions without a consistent flattening.
// A conclusion's first consistent flattening drops those kept of it in this search.
class Shown {
  public:
    explicit Shown(std::vector<FlattenedRule>& stored) : stored_(stored), first_(stored.size()) {}
    bool wanted(const std::string& conclusion) const { return !consistent_.contains(conclusion); }
    void add(FlattenedRule rule) {
        of_conclusion_[rule.conclusion].push_back(stored_.size());
        stored_.push_back(std::move(rule));
    }
    void consistent(const std::string& conclusion) {
        if (!consistent_.insert(conclusion).second) return;
        const auto it = of_conclusion_.find(conclusion);
        if (it == of_conclusion_.end()) return;
        for (std::size_t i : it->second) dropped_.push_back(i);
        of_conclusion_.erase(it);
    }
    void compact() {
        if (dropped_.empty()) return;
        std::vector<char> gone(stored_.size(), 0);
        for (std::size_t i : dropped_) gone[i] = 1;
        std::size_t kept = first_;
        for (std::size_t i = first_; i < stored_.size(); ++i) {
            if (gone[i]) continue;
            if (kept != i) stored_[kept] = std::move(stored_[i]);
            ++kept;
        }
        stored_.resize(kept);
    }

  private:
    std::vector<FlattenedRule>& stored_;
    std::size_t first_;
    std::unordered_set<std::string> consistent_;
    std::unordered_map<std::string, std::vector<std::size_t>> of_conclusion_;
    std::vector<std::size_t> dropped_;
};

}  // namespace

bool wyznacz_sprzecznosc_1w(RuleDiagnosisContext& ctx) {
    SearchProgress progress(ctx.ui, "Diagnostyka sprzeczności wewnętrznych",
                            "Trwa spłaszczanie reguł bazy " + ctx.base_name() + "...",
                            ctx.progress_delay);
    progress.tell_when_interrupted(not_fully_checked("reguł", ctx.base_name()));
    if (!ctx.build_index(progress)) return false;
    RuleIndex& index = ctx.index();
    std::vector<FlattenedRule> stored = ctx.memory.regula_splaszczona_1w;
    std::vector<InternalVerdict> verdicts = ctx.memory.sprzecznosc_1w;
    // Every distinct flattening met, for the duplicate test, of rules that may repeat one.
    std::vector<FlattenedRule> met = stored;
    FlattenedSet distinct(met);
    Verdicts recorder(verdicts);
    Shown shown(stored);
    const FixedFlattenings fixed(index);
    const std::vector<char> repeats = may_repeat(index, stored);
    const auto record = [&](FlattenedRule&& rule, bool contradictory) {
        recorder.add(rule.number, rule.conclusion, contradictory);
        if (!contradictory) {
            shown.consistent(rule.conclusion);
        } else if (shown.wanted(rule.conclusion)) {
            shown.add(std::move(rule));
        }
    };
    const auto& rules = index.rules();
    // A conclusion with a consistent flattening loses every verdict in the decision, so nothing
    // more of it is worth flattening, unless the rest may reach a cycle the user is to be told of.
    const bool settles = !index.has_cycles();
    for (std::size_t position = 0; position < rules.size(); ++position) {
        if (!progress.step()) return false;
        const std::string& conclusion = index.text(rules[position].conclusion);
        const std::int32_t number = rules[position].number;
        if (settles && !shown.wanted(conclusion)) continue;
        if (fixed.decided(position) && !repeats[position]) {
            if (fixed.without_flattening(position)) continue;
            // One flattening, its verdict known: written out only when the report may show it.
            const bool contradictory = fixed.contradictory(position);
            FlattenedRule rule{number, conclusion, {}, {}};
            if (contradictory && shown.wanted(conclusion)) {
                Flattener flattener(index, rules[position].conditions, &progress);
                const Flattening* f = flattener.next();
                if (!f) return false;
                rule.conditions = index.texts(f->conditions);
                rule.numbers = f->numbers;
            }
            record(std::move(rule), contradictory);
            continue;
        }
        // One rule may give one flattening twice: its own are told apart by ids, and only rules
        // that may repeat another rule's flattening keep theirs as text for the rest of the
        // search.
        std::unordered_set<IdFlattening, IdFlatteningHash> own;
        const bool completed = ctx.each_flattening(
            position, &progress,
            [&](const Flattening& f) {
                if (!progress.step()) return false;
                const bool contradictory = holds_pair(index, f.conditions);
                FlattenedRule rule{number, conclusion, {}, {}};
                if (repeats[position]) {
                    met.push_back({number, conclusion, index.texts(f.conditions), f.numbers});
                    if (!distinct.insert_last()) {
                        met.pop_back();
                        return true;
                    }
                    rule = met.back();
                } else {
                    if (!own.insert({f.conditions, f.numbers}).second) return true;
                    if (contradictory && shown.wanted(conclusion)) {
                        rule.conditions = index.texts(f.conditions);
                        rule.numbers = f.numbers;
                    }
                }
                record(std::move(rule), contradictory);
                return contradictory || !settles;
            },
            !settles);
        if (!completed && progress.interrupted()) return false;
    }
    recorder.compact();
    shown.compact();
    ctx.memory.sprzecznosc_1_w = decide(verdicts, ctx.memory.sprzecznosc_1_w);
    ctx.memory.regula_splaszczona_1w = std::move(stored);
    ctx.memory.sprzecznosc_1w = std::move(verdicts);
    return true;
}

void testuj_sprzecznosc_1w(RuleDiagnosisContext& ctx) {
    UserInteraction& ui = ctx.ui;
    ui.new_line();
    write_lines(
        ui,
        {"Baza reguł może być diagnozowana na obecność sprzeczności wewnętrznych.",
         "Diagnostyka sprzeczności wewnętrznych dużych i silnie zagnieżdżonych",
         "baz reguł może trwać długo, gdyż wymaga ona spłaszczenia tych baz.", "",
         "Zaleca się diagnozowanie sprzeczności wewnętrznych baz nowych lub", "zmodyfikowanych.",
         "Przy kolejnym stosowaniu tych baz można test sprzeczności wewnętrznej ", "pominąć.", "",
         "Pamiętaj, że sprzeczności wewnętrzne nie doprowadzą do 'zawieszenia się'",
         "komputera, lecz do tego, że reguły wewnętrznie sprzeczne nie zostaną",
         "przez system wnioskujący zastosowane. Może to spowodować, że wnioski ",
         "nie będą poprawne. ", ""});
    const bool yes = ui.confirm(
        "Wybierz",
        "Baza reguł rozwinięta dokładna\n   " + ctx.base_name() +
            "\nmoże być diagnozowana na obecność sprzeczności wewnętrznych.\n\nDiagnostyka "
            "sprzeczności wewnętrznych dużych i silnie " +
            "\nzagnieżdżonych baz reguł może trwać długo, gdyż wymaga " +
            "\nona spłaszczenia tych baz. \nZaleca się diagnozowanie sprzeczności wewnętrznych "
            "baz nowych lub zmodyfikowanych." +
            "\nPrzy kolejnym stosowaniu tych baz można test sprzeczności wewnętrznej pominąć." +
            "\n\nPamiętaj, że sprzeczności wewnętrzne nie doprowadzą " +
            "\ndo 'zawieszenia się' komputera, lecz do tego, że reguły " +
            "\nwewnętrznie sprzeczne nie zostaną przez system \nwnioskujący zastosowane. " +
            "\nMoże to spowodować, że wnioski nie będą poprawne. " +
            "\n\nChcesz diagnozować bazę reguł na obecność sprzeczności wewnętrznych?");
    if (yes) informuj_sprzecznosc_1w(ctx);
}

void informuj_sprzecznosc_1w(RuleDiagnosisContext& ctx) {
    UserInteraction& ui = ctx.ui;
    Report report(ctx.store, ui);
    const std::string name = ctx.base_name();
    const std::string tag = kTagContradiction;
    const bool external = ctx.flags.sprzecznosc_1z;
    if (!external) {
        // An interrupted search counts as a declined question.
        if (!wyznacz_sprzecznosc_1w(ctx)) return;
        ctx.tell_cycles();
    }
    if (!external && ctx.memory.sprzecznosc_1_w) {
        const auto line = [&](const std::string& text, int breaks) {
            ui.write(text);
            for (int i = 0; i < breaks; ++i) report.piszcr();
        };
        line(" W załadowanej bazie reguł jest co najmniej jedna sprzeczność wewnętrzna", 1);
        line(" typu " + tag + ".", 2);
        line(" Załadowaną bazę reguł możesz stosować dla wnioskowania.", 2);
        line(" Sprzeczności wewnętrzne nie doprowadzą bowiem do 'zawieszenia się'", 1);
        line(" komputera, lecz do tego, że reguły wewnętrznie sprzeczne nie zostaną", 1);
        line(" przez system wnioskujący zastosowane. Może to spowodować, że wnioski ", 1);
        line(" nie będą poprawne. ", 2);
        line(" Dlatego raczej wykonaj diagnozę sprzeczności wewnetrznych bazy reguł.", 1);
        line(" W tym celu musisz przejść do opcji:", 1);
        line(" 'Baza reguł/Diagnostyka sprzeczności wewnętrznych ' ", 1);
        line(" Po poznaniu źródeł sprzeczności wewnętrznych wróć do opcji", 1);
        line(" 'Baza reguł/Edycja bazy reguł' i usuń sprzeczności", 2);
        ui.note("Informacja o sprzeczności",
                "Baza reguł rozwinięta dokładna\n   " + name +
                    "\nzawiera co najmniej jedną sprzeczność wewnętrzną typu " + tag +
                    ".\n\nZaładowaną bazę reguł możesz stosować do wnioskowania." +
                    "\nSprzeczności wewnętrzne nie doprowadzą bowiem do " +
                    "\n'zawieszenia się' komputera, lecz do tego, że reguły " +
                    "\nwewnętrznie sprzeczne nie zostaną zastosowane. " +
                    "\nMoże to spowodować, że wnioski nie będą poprawne. " +
                    "\n\nDlatego raczej wykonaj diagnozę sprzeczności wewnetrznych bazy reguł." +
                    "\nW tym celu musisz przejść do opcji:" +
                    "\n   'Baza reguł dokładna\n     Diagnostyka sprzeczności wewnętrznych'." +
                    "\nPo poznaniu źródeł sprzeczności wewnętrznych wróć do opcji" +
                    "\n   'Baza reguł dokładna\n     Edycja bazy reguł' \ni usuń sprzeczności");
        ctx.set_enabled({kReportCommand}, true);
        return;
    }
    if (!any_contradictory(ctx.memory.sprzecznosc_1w)) {
        ui.write(" Baza reguł " + name);
        ui.new_line();
        ui.write(" nie jest wewnętrznie " + tag + " sprzeczna.");
        ui.note("Wynik diagnozowania sprzeczności wewnętrznej",
                "Baza reguł rozwinięta dokładna\n   " + name + "\nnie jest wewnętrznie " + tag +
                    " sprzeczna.");
    }
}

namespace {

// "   reguła_spłaszczona(Nr, W, [a,b])": conditions unquoted, written only.
void write_flattened(UserInteraction& ui, Report& report, const FlattenedRule& rule) {
    ui.write(" W wyniku spłaszczenia reguły " + std::to_string(rule.number) + " otrzymuje się: ");
    report.piszcr();
    ui.write("   reguła_spłaszczona(" + std::to_string(rule.number) + ", " + rule.conclusion +
             ", " + "[");
    if (rule.conditions.empty()) {
        report.piszcr();
    } else {
        for (std::size_t i = 0; i < rule.conditions.size(); ++i) {
            ui.write(rule.conditions[i]);
            ui.write(i + 1 < rule.conditions.size() ? "," : "]");
        }
    }
    ui.write(")");
    report.piszcr();
}

}  // namespace

void pisz_sprzecznosc_1w(RuleDiagnosisContext& ctx) {
    UserInteraction& ui = ctx.ui;
    Report report(ctx.store, ui);
    const std::string name = ctx.base_name();
    const std::string tag = kTagContradiction;
    auto& memory = ctx.memory;
    if (!memory.sprzecznosc_1_w) {
        ui.note("Wynik diagnozowania sprzeczności wewnętrznej",
                "Baza reguł rozwinięta dokładna\n   " + name + "\nnie jest wewnętrznie " + tag +
                    " sprzeczna.");
        return;
    }
    report.kasowanie_tekst_raportu();
    const ReportCapture shown(report);
    ui.write(" Raport diagnostyki sprzeczności wewnętrznych bazy reguł ");
    report.piszcr();
    ui.write(" " + name);
    report.piszcr();
    report.piszcr();
    ui.note("Diagnostyka sprzeczności wewnętrznych bazy reguł rozwiniętej dokladnej\n   " + name,
            "Raport diagnostyki sprzeczności wewnętrznych bazy reguł");
    ui.write(" Wyznaczanie sprzeczności wewnętrznych typu " + tag + " odbywa");
    report.piszcr();
    ui.write(" się na drodze spłaszczania reguł:");
    report.piszcr();
    report.piszcr();
    ui.note("Raport diagnostyki sprzeczności wewnętrznych bazy reguł",
            "Wyznaczanie sprzeczności wewnętrznych typu " + tag +
                " odbywa się na drodze spłaszczania reguł");

    // The stored flattenings of each rule number and conclusion, in store order.
    std::unordered_map<std::string, std::vector<std::size_t>> of_rule;
    for (std::size_t i = 0; i < memory.regula_splaszczona_1w.size(); ++i) {
        const FlattenedRule& f = memory.regula_splaszczona_1w[i];
        of_rule[verdict_key(f.number, f.conclusion)].push_back(i);
    }
    std::vector<char> removed(memory.regula_splaszczona_1w.size(), 0);
    const auto flattenings_of = [&](const InternalVerdict& v) -> const std::vector<std::size_t>& {
        static const std::vector<std::size_t> none;
        const auto it = of_rule.find(verdict_key(v.number, v.conclusion));
        return it == of_rule.end() ? none : it->second;
    };

    for (const InternalVerdict& v : memory.sprzecznosc_1w) {
        if (!v.contradictory) continue;
        for (std::size_t i : flattenings_of(v)) {
            const FlattenedRule& f = memory.regula_splaszczona_1w[i];
            if (removed[i] || !f.numbers.empty()) continue;
            write_flattened(ui, report, f);
            ui.write(" Reguła ");
            report.pisz_tuto_int(f.number);
            ui.write(" jest wewnętrznie " + tag + "-samosprzeczna.");
            report.piszcr();
            report.piszcr();
            ui.note(kTitle,
                    "W wyniku spłaszczenia reguły " + std::to_string(f.number) +
                        " otrzymuje się:\n\nreguła_spłaszczona(" + std::to_string(f.number) + ", " +
                        f.conclusion + ", " + list_text(f.conditions) + ")\n\nReguła " +
                        std::to_string(f.number) + " jest wewnętrznie " + tag + "-samosprzeczna.");
        }
    }
    for (const InternalVerdict& v : memory.sprzecznosc_1w) {
        if (!v.contradictory) continue;
        for (std::size_t i : flattenings_of(v)) {
            const FlattenedRule& f = memory.regula_splaszczona_1w[i];
            if (removed[i] || f.numbers.empty()) continue;
            write_flattened(ui, report, f);
            ui.write(" Spłaszczenie uzyskano za pomocą reguł o numerach: ");
            std::string tekst;
            for (std::size_t k = 0; k < f.numbers.size(); ++k) {
                if (k) report.pisz_tuto(",");
                report.pisz_tuto(std::to_string(f.numbers[k]));
                tekst += std::to_string(f.numbers[k]) + ", ";
            }
            report.piszcr();
            ui.write(" Reguła " + std::to_string(f.number) + " jest wewnętrznie pośrednio " + tag +
                     "-sprzeczna. ");
            report.piszcr();
            report.piszcr();
            ui.note(kTitle, "W wyniku spłaszczenia reguły " + std::to_string(f.number) +
                                " otrzymuje się:\n\nreguła_spłaszczona(" +
                                std::to_string(f.number) + ", " + f.conclusion + ", " +
                                list_text(f.conditions) +
                                ")n\nSpłaszczenie uzyskano za pomocą reguł o numerach: " + tekst +
                                "\nReguła " + std::to_string(f.number) +
                                " jest wewnętrznie pośrednio " + tag + "-sprzeczna. ");
            removed[i] = 1;
        }
    }
    std::vector<FlattenedRule> kept;
    for (std::size_t i = 0; i < memory.regula_splaszczona_1w.size(); ++i) {
        if (!removed[i]) kept.push_back(std::move(memory.regula_splaszczona_1w[i]));
    }
    memory.regula_splaszczona_1w = std::move(kept);

    ui.write(" Koniec raportu diagnostyki sprzeczności wewnętrznych bazy reguł ");
    report.piszcr();
    ui.write(" " + name + ".");
    ui.note(kTitle,
            "Koniec raportu diagnostyki sprzeczności wewnętrznych bazy reguł rozwinietej "
            "dokładnej\n   " +
                name + ".");
    report.raport();
}

}  // namespace xamo::internal
