#include "app/loading_commands.h"

#include <algorithm>
#include <iterator>

#include "app/application.h"
#include "app/command_catalog.h"
#include "app/why_not_command.h"
#include "loading/loading.h"

namespace xamo {
namespace {

struct BaseCommands {
    BaseKind kind;
    int load;
    int create;
    int remove;
};

constexpr BaseCommands kBaseCommands[] = {
    {BaseKind::Rules, 10058, 10065, 10066},       {BaseKind::Models, 10071, 10082, 10083},
    {BaseKind::Constraints, 10087, 10092, 10093}, {BaseKind::Advice, 10097, 10100, 10101},
    {BaseKind::Graphics, 10108, 10111, 10112},    {BaseKind::Sounds, 10118, 10121, 10122},
};

// Dialog data is handed over as parameters, so nothing is left to remove before a rule-base load.
void load_and_enable(Application& app, const BaseCommands& ids) {
    KnowledgeBase kb = app.knowledge_base();
    const std::string path = load_base(kb, ids.kind);
    // A cancelled, refused or failed load, or one whose later checks unloaded the base again,
    // enables nothing.
    if (path.empty() || !base_loaded(app.store(), ids.kind)) return;
    app.commands().set_enabled(commands_enabled_after_load(ids.load), true);
    if (ids.kind == BaseKind::Rules) app.recent_rule_bases().add(path);
}

// "Dlaczego nie?" explains the last run against the rules and models it used: a rule or model
// base loaded or created (both clear it first, even when then cancelled) or deleted ends that.
void forget_last_run(Application& app, BaseKind kind) {
    if (kind == BaseKind::Rules || kind == BaseKind::Models)
        app.commands().disable({kWhyNotCommand});
}

}  // namespace

bool load_base_file(Application& app, BaseKind kind, const std::string& path) {
    const auto ids = std::find_if(std::begin(kBaseCommands), std::end(kBaseCommands),
                                  [kind](const BaseCommands& c) { return c.kind == kind; });
    if (!app.commands().enabled(ids->load)) return false;
    app.answer_next_file_dialog(path);
    app.run_command(ids->load);
    // A load refused before its file dialog leaves the answer unused.
    app.forget_file_answer();
    return true;
}

void register_loading_commands(Application& app) {
    for (const BaseCommands& ids : kBaseCommands) {
        app.commands().set_handler(ids.load, [&app, ids] {
            forget_last_run(app, ids.kind);
            load_and_enable(app, ids);
        });
        app.commands().set_handler(ids.create, [&app, ids] {
            forget_last_run(app, ids.kind);
            KnowledgeBase kb = app.knowledge_base();
            create_base(kb, ids.kind);
        });
        app.commands().set_handler(ids.remove, [&app, ids] {
            KnowledgeBase kb = app.knowledge_base();
            delete_base(kb, ids.kind);
            if (!base_loaded(app.store(), ids.kind)) forget_last_run(app, ids.kind);
        });
    }
}

}  // namespace xamo
