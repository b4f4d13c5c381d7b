// What one inference run works with: the store, the working memory, the askable lists, the report
// text and the user, plus the content of the explanation dialog being prepared and the indexes
// built once per run. Forward and backward inference share it.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "askable/askable_memory.h"
#include "dialog/interaction.h"
#include "dialog/report.h"
#include "inference/memory.h"
#include "inference/rule_index.h"
#include "inference/run_progress.h"
#include "inference/task.h"
#include "kb/facts.h"
#include "kb/view_table.h"

namespace xamo {

// Advice, picture and sound offered for a derived condition (rule or model number, condition).
// Empty until the media subsystem attaches its offers.
struct MediaOffers {
    std::function<void(std::int32_t, const std::string&)> udziel_rady;
    std::function<void(std::int32_t, const std::string&)> wyswietl_grafike;
    std::function<void(std::int32_t, const std::string&)> przesluchaj_melodie;

    // Offers the advice, the picture and the sound, each when attached.
    void offer(std::int32_t number, const std::string& condition) const;
};

// A verification that proves nothing.
Task<bool> not_verified(std::string condition);

class InferenceContext {
  public:
    InferenceContext(FactStore& store, InferenceMemory& memory, const AskableMemory& askable,
                     Report& report, UserInteraction& ui);

    FactStore& store;
    InferenceMemory& memory;
    const AskableMemory& askable;
    Report& report;
    UserInteraction& ui;
    MediaOffers media;
    // Verifies a hypothesis by backward inference (application conditions in backward mode).
    // The backward inference replaces this; until then nothing is verified.
    std::function<Task<bool>(std::string)> verify_hypothesis = not_verified;

    // --- progress of a long run ---------------------------------------------------------------
    // Shows the progress of the run under `title` while it lasts (RunProgress), until
    // end_progress(); progress_step() at each unit of work. "Przerwij" asks, as "Zakończ" does,
    // whether to end the program (QuitRequested on "Tak").
    void begin_progress(const std::string& title);
    std::chrono::milliseconds progress_delay = RunProgress::kDelay;
    void end_progress() { progress_.reset(); }
    void progress_step() {
        if (progress_ && !progress_->step()) ui.confirm_quit_or_stay();
    }

    // --- the explanation dialog "Wnioskowanie" (tytul, dane_str) ------------------------------
    std::string title;
    std::vector<std::string> lines;
    void clear_dialog();
    // Shows the prepared title and lines; the dialog removes them when it opens.
    void show_dialog();

    // --- output: to the output stream and the report text ------------------------------------
    void pisz(const std::string& text) { report.pisz(text); }
    void piszcr() { report.piszcr(); }
    void line(const std::string& text);
    // Writes a line and keeps it as a dialog line.
    void line_and_dialog(std::string text);
    // To the screen only (not the report text).
    void screen(const std::string& text) { ui.write(text); }
    void screen_new_line() { ui.new_line(); }
    // To the report text only.
    void report_only(const std::string& text) { report.lista_dla_raportu({text}); }

    // --- state
    // ------------------------------------------------------------------------------------
    bool detailed() const { return memory.szczegolowosc == "duża"; }
    bool model_base_loaded() const { return store.any(Kind::nazwa_mo); }
    bool constraint_base_loaded() const { return store.any(Kind::nazwa_og); }
    // Askable for rule questions: the condition or its positive form is in the askable list of
    // the run (with a model base, the joint list of conditions and arguments).
    bool is_askable(std::string_view condition) const;
    // Membership in lista_warunkow_i_argumentow_dopytywalnych (application conditions).
    bool in_askable_conditions_and_arguments(const std::string& name) const;
    bool is_askable_argument(const std::string& name) const;
    bool is_model_conclusion(const std::string& name) const;
    // Points the lookups at the askable lists (at the start of a run).
    void index_askable();

    // The first constraint (store order) that has `condition` as a member.
    const Fact* constraint_with(const std::string& condition);
    // Positions in the constraint base of the constraints holding `member`, in store order
    // (indexed on first use; constraints_changed() after the constraint base changed).
    const std::vector<std::size_t>& constraints_holding(const std::string& member);
    void constraints_changed() { constraints_indexed_ = false; }
    // `member` was taken out of the constraints at `positions` (ascending), which kept their
    // places.
    void constraint_member_removed(const std::string& member,
                                   const std::vector<std::size_t>& positions);
    // The rules by the conditions they mention, over the store's numbering of the rules' names
    // (built on first use; the rules do not change during a run).
    const RuleConditionIndex& rule_index();
    // Re-enables the applied rules that mention x or its negation (skasuj_zastosowane_reguly);
    // `name` is x's number in working memory's names when the caller has it (name_at).
    void skasuj_zastosowane_reguly(const std::string& x,
                                   std::uint32_t name = WorkingMemory::kNoName);

  private:
    // Membership in the askable lists, which stay as they are while a run lasts.
    LazyViewSet askable_;
    LazyViewSet askable_conditions_and_arguments_;
    LazyViewSet askable_arguments_;
    LazyViewSet model_conclusions_;
    std::unique_ptr<RuleConditionIndex> rule_index_;
    std::unique_ptr<RunProgress> progress_;
    std::unordered_map<std::string, std::vector<std::size_t>> constraints_by_member_;
    bool constraints_indexed_ = false;
};

std::string positive_form(std::string_view condition);
// q padded with blanks to 55 characters (the yes/no questions on screen).
std::string padded_question(const std::string& question);

}  // namespace xamo
