// Loading, creating and deleting the six bases of a knowledge base.
//
// A knowledge base is built rule base first: loading a rule base clears everything
// (clear_knowledge_base); every other base needs a loaded rule base with the same distinguisher
// and clears only its own section first (clear_base). One procedure, load_base, serves all six
// kinds; what differs between them is the table of texts (base_texts) and the kind-specific
// steps run before and after the "loaded" message (load_checks.h). A base counts as loaded exactly
// while its name fact exists.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/numbering.h"
#include "askable/askable_memory.h"
#include "kb/facts.h"
#include "media/media_memory.h"
#include "verify/diagnosis_flags.h"
#include "verify/joint_diagnosis_memory.h"
#include "verify/rule_diagnosis.h"
#include "verify/rule_diagnosis_memory.h"

namespace xamo {

class UserInteraction;

enum class BaseKind { Rules, Models, Constraints, Advice, Graphics, Sounds };
inline constexpr BaseKind kAllBaseKinds[] = {BaseKind::Rules,       BaseKind::Models,
                                             BaseKind::Constraints, BaseKind::Advice,
                                             BaseKind::Graphics,    BaseKind::Sounds};

struct TautologicalModel {
    std::int32_t number = 0;
    std::string result;
    std::string argument;
};

// Working facts of the load commands.
struct LoadMemory : WorkingSection {
    // The declared facts (every `fakt`, then every `m_fakt`) are read from the store.
    StringList fakty_ograniczen;  // declared facts that are members of a constraint
    std::vector<TautologicalModel> model_tautologiczny;

    void clear() override { *this = LoadMemory{}; }
};

// Everything a load command reads and changes.
struct KnowledgeBase {
    FactStore& store;
    UserInteraction& ui;
    AskableMemory& askable;
    NumberingMemory& numbering;
    DiagnosisFlags& flags;
    LoadMemory& load;
    MediaMemory& media;
    RuleDiagnosisMemory& diagnoses;
    ModelDiagnosisMemory& model_diagnoses;
    ConstraintDiagnosisMemory& constraint_diagnoses;
    CommandSwitch set_enabled;  // menu changes made by the load-time diagnoses
};

bool base_loaded(const FactStore& store, BaseKind kind);

// The load command of one base kind: the chosen file's full path, or "" when the load was
// cancelled, refused or failed.
std::string load_base(KnowledgeBase& kb, BaseKind kind);
// Everything a rule-base load removes: every base, file name, working fact and the report text.
void clear_knowledge_base(KnowledgeBase& kb);
// One base's section and file names, with what was derived from that base.
void clear_base(KnowledgeBase& kb, BaseKind kind);

// The create and delete commands of one base kind.
void create_base(KnowledgeBase& kb, BaseKind kind);
void delete_base(KnowledgeBase& kb, BaseKind kind);

void compute_declared_facts(const FactStore& store, LoadMemory& load);

}  // namespace xamo
