#include "support/scripted_interaction.h"

#include <sstream>

namespace xamo {

std::optional<std::string> ScriptedInteraction::next_answer() {
    if (answers.empty()) return std::nullopt;
    std::string answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedInteraction::note(const std::string& title, const std::string& text) {
    events.push_back({"note", title, text, {}});
}

int ScriptedInteraction::ask(const std::string& title, const std::string& text,
                             const std::vector<std::string>& buttons) {
    events.push_back({"ask", title, text, buttons});
    const auto answer = next_answer();
    const int count = static_cast<int>(buttons.size());
    if (!answer) return count;
    for (int i = 0; i < count; ++i) {
        std::string caption;
        for (char c : buttons[static_cast<std::size_t>(i)]) {
            if (c != '&') caption.push_back(c);
        }
        if (*answer == caption || *answer == std::to_string(i + 1)) return i + 1;
    }
    return count;
}

bool ScriptedInteraction::confirm(const std::string& title, const std::string& text) {
    events.push_back({"confirm", title, text, {}});
    const auto answer = next_answer();
    return answer && (*answer == "1" || *answer == "Tak" || *answer == "tak");
}

std::optional<std::string> ScriptedInteraction::choose_file(const std::string& kind,
                                                            const std::string& title,
                                                            const std::vector<FileFilter>& filters,
                                                            const std::string& start) {
    Event event{kind, title, start, {}};
    for (const auto& f : filters) event.items.push_back(f.description + "|" + f.pattern);
    events.push_back(event);
    auto answer = next_answer();
    if (!answer || answer->empty()) return std::nullopt;
    return answer;
}

std::optional<std::string> ScriptedInteraction::choose_file_to_open(
    const std::string& title, const std::vector<FileFilter>& filters, const std::string& start) {
    return choose_file("open", title, filters, start);
}

std::optional<std::string> ScriptedInteraction::choose_file_to_save(
    const std::string& title, const std::vector<FileFilter>& filters, const std::string& start) {
    return choose_file("save", title, filters, start);
}

std::optional<std::string> ScriptedInteraction::enter_text(const std::string& title,
                                                           const std::string& prompt,
                                                           const std::string& default_text) {
    events.push_back({"text", title, prompt, {default_text}});
    return next_answer();
}

std::vector<int> ScriptedInteraction::choose_from_list(const std::string& title,
                                                       const std::string& prompt,
                                                       const std::vector<std::string>& items,
                                                       bool multiple) {
    events.push_back({multiple ? "list many" : "list", title, prompt, items});
    while (true) {
        const auto answer = next_answer();
        if (!answer) return multiple || items.empty() ? std::vector<int>{} : std::vector<int>{0};
        if (*answer == "z") {
            confirm_quit_or_stay();
            continue;
        }
        std::vector<int> chosen;
        std::istringstream in(*answer);
        int n = 0;
        while (in >> n) {
            if (n >= 1 && n <= static_cast<int>(items.size())) chosen.push_back(n - 1);
        }
        if (chosen.empty() && !multiple && !items.empty()) chosen.push_back(0);
        return chosen;
    }
}

std::optional<std::string> ScriptedInteraction::enter_value(const std::string& title,
                                                            const std::string& name) {
    events.push_back({"value", title, name, {}});
    return next_answer();
}

void ScriptedInteraction::explain(const std::string& title, const std::vector<std::string>& lines) {
    events.push_back({"explanation", title, {}, lines});
}

int ScriptedInteraction::choose_option(const RadioDialog& dialog) {
    events.push_back({"option", dialog.title, dialog.prompt, dialog.options});
    const auto answer = next_answer();
    if (!answer || answer->empty()) return dialog.preselected;
    const int n = std::atoi(answer->c_str());
    return n >= 1 && n <= static_cast<int>(dialog.options.size()) ? n : dialog.preselected;
}

void ScriptedInteraction::show_text(const std::string& title, const std::string& text) {
    events.push_back({"window", title, text, {}});
}

void ScriptedInteraction::show_picture(const std::string& title, const std::string& path) {
    events.push_back({"picture", title, path, {}});
}

void ScriptedInteraction::play_sound(const std::string& path) {
    events.push_back({"sound", {}, path, {}});
}

void ScriptedInteraction::open_document(const std::string& path) {
    events.push_back({"document", {}, path, {}});
}

void ScriptedInteraction::open_editor(const std::string& path) {
    events.push_back({"editor", {}, path, {}});
}

void ScriptedInteraction::show_browse(const BrowseView& view) {
    events.push_back({"browse", view.title, view.heading, {}});
    browse_views.push_back(view);
}

void ScriptedInteraction::set_main_title(const std::string& title) {
    main_title = title;
    events.push_back({"title", title, {}, {}});
}

void ScriptedInteraction::clear_messages() { events.push_back({"clear", {}, {}, {}}); }

std::vector<ScriptedInteraction::Event> ScriptedInteraction::of_kind(const std::string& kind) const {
    std::vector<Event> out;
    for (const auto& e : events) {
        if (e.kind == kind) out.push_back(e);
    }
    return out;
}

}  // namespace xamo
