// The interaction the checker drives the load commands with.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "app/application.h"
#include "dialog/silent_interaction.h"

namespace xamo {

// Answers every question as a user who wants every check would: yes to every question, the
// base file to every open dialog of a load, nothing to every other dialog. Keeps the notes.
class AutoAnswers : public SilentInteraction {
  public:
    std::optional<std::string> next_file;
    std::vector<std::string> notes;  // the text of every note, in order
    // Titles of the searches stopped by the deadline, in order.
    std::vector<std::string> stopped_searches;
    bool out_of_memory = false;

    // A search shown after this time is stopped; none when unset.
    void set_deadline(std::optional<std::chrono::steady_clock::time_point> deadline) {
        deadline_ = deadline;
    }

    void note(const std::string&, const std::string& text) override {
        if (text == kOutOfMemoryNote) out_of_memory = true;
        notes.push_back(text);
    }
    void begin_progress(const std::string& title, const std::string&) override { search_ = title; }
    bool progress_continues() override {
        if (!deadline_ || std::chrono::steady_clock::now() < *deadline_) return true;
        if (stopped_searches.empty() || stopped_searches.back() != search_)
            stopped_searches.push_back(search_);
        return false;
    }
    int ask(const std::string&, const std::string&,
            const std::vector<std::string>& buttons) override {
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            if (without_accelerator(buttons[i]) == "tak") return static_cast<int>(i) + 1;
        }
        return 1;
    }
    bool confirm(const std::string&, const std::string&) override { return true; }
    std::optional<std::string> choose_file_to_open(const std::string&,
                                                   const std::vector<FileFilter>&,
                                                   const std::string&) override {
        auto file = std::move(next_file);
        next_file.reset();
        return file;
    }
    std::vector<int> choose_from_list(const std::string&, const std::string&,
                                      const std::vector<std::string>& items,
                                      bool multiple) override {
        if (items.empty()) return {};
        if (!multiple) return {0};
        std::vector<int> all(items.size());
        for (std::size_t i = 0; i < items.size(); ++i) all[i] = static_cast<int>(i);
        return all;
    }
    std::optional<std::string> enter_value(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    int choose_option(const RadioDialog& dialog) override { return dialog.preselected; }

  private:
    static std::string without_accelerator(const std::string& caption) {
        std::string plain;
        for (char c : caption) {
            if (c == '&') continue;
            plain.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
        }
        return plain;
    }
    std::optional<std::chrono::steady_clock::time_point> deadline_;
    std::string search_;
};

}  // namespace xamo
