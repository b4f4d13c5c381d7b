#include "app/commands.h"

namespace xamo {

void CommandTable::add(CommandInfo info, Handler handler) {
    const int id = info.id;
    index_[id] = commands_.size();
    commands_.push_back(std::move(info));
    enabled_[id] = false;
    if (handler) handlers_[id] = std::move(handler);
}

void CommandTable::set_handler(int id, Handler handler) { handlers_[id] = std::move(handler); }

const CommandInfo* CommandTable::find(int id) const {
    auto it = index_.find(id);
    return it == index_.end() ? nullptr : &commands_[it->second];
}

bool CommandTable::has_handler(int id) const {
    auto it = handlers_.find(id);
    return it != handlers_.end() && it->second;
}

bool CommandTable::enabled(int id) const {
    auto it = enabled_.find(id);
    return it != enabled_.end() && it->second;
}

void CommandTable::set_enabled(const std::vector<int>& ids, bool on) {
    bool any = false;
    for (int id : ids) {
        auto it = enabled_.find(id);
        if (it != enabled_.end() && it->second != on) {
            it->second = on;
            any = true;
        }
    }
    if (any) changed();
}

void CommandTable::disable_all() {
    for (auto& entry : enabled_) entry.second = false;
    changed();
}

void CommandTable::changed() {
    for (const auto& listener : listeners_) listener();
}

CommandTable::RunResult CommandTable::run(int id) {
    const CommandInfo* info = find(id);
    // A submenu only opens its menu; it is no command of its own.
    if (!info || info->is_submenu) return RunResult::Unknown;
    if (!enabled(id)) return RunResult::Disabled;
    auto it = handlers_.find(id);
    if (it == handlers_.end() || !it->second) return RunResult::NotYetAvailable;
    it->second();
    return RunResult::Done;
}

}  // namespace xamo
