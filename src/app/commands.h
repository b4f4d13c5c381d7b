// The table of menu commands: identifier, place in the menu, caption, availability and handler.
// Front ends build their menus from it and only reflect its availability; every command runs
// through run(), so a disabled command does nothing anywhere.
#pragma once

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace xamo {

struct CommandInfo {
    int id = 0;
    std::vector<std::string> menu_path;  // enclosing menus, outermost first, with '&' accelerators
    std::string caption;
    bool is_submenu = false;  // a submenu that is enabled and disabled like a command
};

class CommandTable {
  public:
    using Handler = std::function<void()>;
    // NotYetAvailable: an enabled command whose handler is still to come; the caller says so.
    enum class RunResult { Done, Disabled, Unknown, NotYetAvailable };

    void add(CommandInfo info, Handler handler = {});
    void set_handler(int id, Handler handler);
    const std::vector<CommandInfo>& commands() const { return commands_; }
    const CommandInfo* find(int id) const;
    bool has_handler(int id) const;

    bool enabled(int id) const;
    void enable(std::initializer_list<int> ids) { set_enabled(ids, true); }
    void disable(std::initializer_list<int> ids) { set_enabled(ids, false); }
    void set_enabled(const std::vector<int>& ids, bool on);
    void disable_all();
    // Called after every change of availability.
    void on_change(std::function<void()> listener) { listeners_.push_back(std::move(listener)); }

    RunResult run(int id);

  private:
    void changed();
    std::vector<CommandInfo> commands_;
    std::map<int, std::size_t> index_;
    std::map<int, Handler> handlers_;
    std::map<int, bool> enabled_;
    std::vector<std::function<void()>> listeners_;
};

}  // namespace xamo
