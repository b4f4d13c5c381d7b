// The Qt implementation of the interaction services: modal dialogs over the main window, the
// message window as the output stream, and the child windows (text, picture, browse, edit).
#pragma once

#include "dialog/interaction.h"

class QProgressDialog;

namespace xamo {

class Application;
class MainWindow;

class QtInteraction : public UserInteraction {
  public:
    // Called by the main window when it is created.
    void attach(MainWindow* window, Application* app);

    void note(const std::string& title, const std::string& text) override;
    int ask(const std::string& title, const std::string& text,
            const std::vector<std::string>& buttons) override;
    std::optional<int> ask_or_cancel(const std::string& title, const std::string& text,
                                     const std::vector<std::string>& buttons) override;
    bool confirm(const std::string& title, const std::string& text) override;
    bool confirm_deletion(const std::string& title, const std::string& text) override;
    void note_in_columns(const std::string& title, const std::string& text) override;
    void note_about(const std::string& title, const std::string& text,
                    const std::string& licence) override;
    // Offers "Edycja" beside "OK": the editor opens the file with the line of the error marked.
    void note_syntax_error(const std::string& title, const std::string& text,
                           const std::string& path, std::size_t line) override;
    std::optional<std::string> choose_file_to_open(const std::string& title,
                                                   const std::vector<FileFilter>& filters,
                                                   const std::string& start) override;
    std::optional<std::string> choose_file_to_save(const std::string& title,
                                                   const std::vector<FileFilter>& filters,
                                                   const std::string& start) override;
    std::optional<std::string> enter_text(const std::string& title, const std::string& prompt,
                                          const std::string& default_text) override;
    std::vector<int> choose_from_list(const std::string& title, const std::string& prompt,
                                      const std::vector<std::string>& items,
                                      bool multiple) override;
    std::optional<std::vector<int>> choose_from_list_or_cancel(
        const std::string& title, const std::string& prompt, const std::vector<std::string>& items,
        bool multiple) override;
    std::optional<std::string> enter_value(const std::string& title,
                                           const std::string& name) override;
    void explain(const std::string& title, const std::vector<std::string>& lines) override;
    int choose_option(const RadioDialog& dialog) override;
    std::optional<int> choose_from_dropdown(const DropDownDialog& dialog) override;
    void show_text(const std::string& title, const std::string& text) override;
    void show_picture(const std::string& title, const std::string& path) override;
    bool show_picture_dialog(const std::string& path) override;
    bool play_sound(const std::string& path) override;
    std::string why_sound_failed() const override { return why_sound_failed_; }
    void show_advice(const std::string& text) override;
    void show_description(const std::string& heading, const std::string& text) override;
    bool open_document(const std::string& path) override;
    void open_editor(const std::string& path) override;
    void show_browse(const BrowseView& view) override;
    // The rule selection and the progress of a long search (qt_search_dialogs.cpp).
    std::optional<int> select_item(const std::string& title, const std::string& caption,
                                   const std::vector<std::string>& items) override;
    void begin_progress(const std::string& title, const std::string& text) override;
    bool progress_continues() override;
    void end_progress() override;
    void set_main_title(const std::string& title) override;
    void clear_messages() override;

  protected:
    void write_message(const std::string& text) override;

  private:
    MainWindow* window_ = nullptr;
    Application* app_ = nullptr;
    QProgressDialog* progress_ = nullptr;
    std::string why_sound_failed_;
};

}  // namespace xamo
