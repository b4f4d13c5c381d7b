#include "support/scripted_interaction.h"

#include <gtest/gtest.h>

#include "dialog/answers.h"
#include "dialog/media_info.h"

namespace xamo {

ScriptedInteraction::~ScriptedInteraction() { expect_all_answers_used(); }

void ScriptedInteraction::expect_all_answers_used() {
    if (answers.empty()) return;
    std::string left;
    for (const auto& a : answers) left += " \"" + a + "\"";
    ADD_FAILURE() << "the script left answers unused:" << left;
    answers.clear();
}

std::optional<std::string> ScriptedInteraction::next_answer(const std::string& what) {
    if (answers.empty()) {
        ADD_FAILURE() << "the script has no answer for " << what;
        return std::nullopt;
    }
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
    return ask_buttons(title, buttons);
}

int ScriptedInteraction::ask_buttons(const std::string& title,
                                     const std::vector<std::string>& buttons) {
    const auto answer = next_answer("the question \"" + title + "\"");
    if (!answer) return static_cast<int>(buttons.size());
    const auto chosen = answers::button(*answer, buttons);
    if (!chosen) {
        ADD_FAILURE() << "\"" << *answer << "\" names no button of \"" << title << "\"";
        return static_cast<int>(buttons.size());
    }
    return *chosen;
}

bool ScriptedInteraction::confirm(const std::string& title, const std::string& text) {
    events.push_back({"confirm", title, text, {}});
    return ask_buttons(title, {"Tak", "Nie"}) == 1;
}

std::optional<std::string> ScriptedInteraction::choose_file(const std::string& kind,
                                                            const std::string& title,
                                                            const std::vector<FileFilter>& filters,
                                                            const std::string& start) {
    Event event{kind, title, start, {}};
    for (const auto& f : filters) event.items.push_back(f.description + "|" + f.pattern);
    events.push_back(event);
    auto answer = next_answer("the file dialog \"" + title + "\"");
    if (!answer || answers::trim(*answer).empty()) return std::nullopt;
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
    return next_answer("the text dialog \"" + title + "\"");
}

std::vector<int> ScriptedInteraction::choose_from_list(const std::string& title,
                                                       const std::string& prompt,
                                                       const std::vector<std::string>& items,
                                                       bool multiple) {
    events.push_back({multiple ? "list many" : "list", title, prompt, items});
    while (true) {
        const auto answer = next_answer("the list \"" + title + "\"");
        if (!answer) return {};
        const auto parsed = answers::list(*answer, static_cast<int>(items.size()), multiple);
        switch (parsed.kind) {
            case answers::ListAnswer::Kind::Quit:
                confirm_quit_or_stay();
                continue;
            case answers::ListAnswer::Kind::Chosen:
                return parsed.chosen;
            case answers::ListAnswer::Kind::Cancel:
            case answers::ListAnswer::Kind::Invalid:
                ADD_FAILURE() << "\"" << *answer << "\" chooses nothing in \"" << title << "\"";
                return {};
        }
    }
}

std::optional<int> ScriptedInteraction::select_item(const std::string& title,
                                                    const std::string& caption,
                                                    const std::vector<std::string>& items) {
    events.push_back({"select", title, caption, items});
    const auto answer = next_answer("the selection \"" + title + "\"");
    if (!answer) return std::nullopt;
    const auto parsed = answers::selection(*answer, static_cast<int>(items.size()));
    if (!parsed.valid)
        ADD_FAILURE() << "\"" << *answer << "\" chooses nothing in \"" << title << "\"";
    return parsed.chosen;
}

std::optional<std::string> ScriptedInteraction::enter_value(const std::string& title,
                                                            const std::string& name) {
    events.push_back({"value", title, name, {}});
    return next_answer("the value of " + name);
}

void ScriptedInteraction::explain(const std::string& title, const std::vector<std::string>& lines) {
    events.push_back({"explanation", title, {}, lines});
}

int ScriptedInteraction::choose_option(const RadioDialog& dialog) {
    events.push_back({"option", dialog.title, dialog.prompt, dialog.options});
    const auto answer = next_answer("the options \"" + dialog.title + "\"");
    if (!answer) return dialog.preselected;
    const auto n =
        answers::option(*answer, static_cast<int>(dialog.options.size()), dialog.preselected);
    if (!n) {
        ADD_FAILURE() << "\"" << *answer << "\" is no option of \"" << dialog.title << "\"";
        return dialog.preselected;
    }
    return *n;
}

void ScriptedInteraction::show_text(const std::string& title, const std::string& text) {
    events.push_back({"window", title, text, {}});
}

std::optional<int> ScriptedInteraction::choose_from_dropdown(const DropDownDialog& dialog) {
    events.push_back({"dropdown", dialog.title, dialog.label + dialog.base_name, dialog.items});
    const int count = static_cast<int>(dialog.items.size());
    if (count == 0) return std::nullopt;
    const auto answer = next_answer("the drop-down \"" + dialog.title + "\"");
    if (!answer) return std::nullopt;
    const auto n = answers::option(*answer, count, 1);
    if (!n) {
        ADD_FAILURE() << "\"" << *answer << "\" is no item of \"" << dialog.title << "\"";
        return std::nullopt;
    }
    return *n - 1;
}

// Pictures and sounds count as shown or played when their headers read as the console reads them.
void ScriptedInteraction::show_picture(const std::string& title, const std::string& path) {
    events.push_back({"picture", title, path, {}});
}

bool ScriptedInteraction::show_picture_dialog(const std::string& path) {
    events.push_back({"picture dialog", "Przegląd grafiki", path, {}});
    return picture_size(path).has_value();
}

bool ScriptedInteraction::play_sound(const std::string& path) {
    events.push_back({"sound", {}, path, {}});
    return wav_info(path).has_value();
}

void ScriptedInteraction::show_advice(const std::string& text) {
    events.push_back({"advice", "Czytanie rady", text, {}});
}

void ScriptedInteraction::show_description(const std::string& heading, const std::string& text) {
    events.push_back({"description", heading, text, {}});
}

bool ScriptedInteraction::open_document(const std::string& path) {
    events.push_back({"document", {}, path, {}});
    return documents_open;
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

std::vector<ScriptedInteraction::Event> ScriptedInteraction::of_kind(
    const std::string& kind) const {
    std::vector<Event> out;
    for (const auto& e : events) {
        if (e.kind == kind) out.push_back(e);
    }
    return out;
}

}  // namespace xamo
