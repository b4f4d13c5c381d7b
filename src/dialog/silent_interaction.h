// An interaction without a person: it shows nothing, and every dialog that only offers something
// (a file to save, a text, a window, a picture, a sound) is declined. The program's own drivers
// (the checker, the case runner) derive from it and answer the questions they care about.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dialog/interaction.h"

namespace xamo {

class SilentInteraction : public UserInteraction {
  public:
    std::optional<std::string> choose_file_to_save(const std::string&,
                                                   const std::vector<FileFilter>&,
                                                   const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> enter_text(const std::string&, const std::string&,
                                          const std::string&) override {
        return std::nullopt;
    }
    void explain(const std::string&, const std::vector<std::string>&) override {}
    std::optional<int> choose_from_dropdown(const DropDownDialog&) override { return std::nullopt; }
    void show_text(const std::string&, const std::string&) override {}
    void show_picture(const std::string&, const std::string&) override {}
    bool show_picture_dialog(const std::string&) override { return false; }
    bool play_sound(const std::string&) override { return false; }
    void show_advice(const std::string&) override {}
    void show_description(const std::string&, const std::string&) override {}
    bool open_document(const std::string&) override { return false; }
    void open_editor(const std::string&) override {}
    void show_browse(const BrowseView&) override {}
    std::optional<int> select_item(const std::string&, const std::string&,
                                   const std::vector<std::string>&) override {
        return std::nullopt;
    }
    void set_main_title(const std::string&) override {}
    void clear_messages() override {}

  protected:
    void write_message(const std::string&) override {}
};

}  // namespace xamo
