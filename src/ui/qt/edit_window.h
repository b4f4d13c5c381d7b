// The edit window: a plain-text editor over one file, with the menu "Edycja", "Zapisz jako" and
// "Zapisz" (which closes it); Ctrl+S saves, keeps the window and checks the base ("Zapisz i
// sprawdź" in "Edycja"); Ctrl+W and Ctrl+F4 close it. Its title is marked while the text differs
// from the file. The saving and the close question are EditSession's; this class only adapts
// widgets.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "app/edit_session.h"

class QAction;
class QKeySequence;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;

namespace xamo {

class EditWindow : public QWidget {
    Q_OBJECT
  public:
    EditWindow(EditSession session, const std::string& text);
    // The editor's text as the file is to hold it (non-breaking spaces kept).
    std::string text() const;
    bool changed() const;
    bool edits(const std::string& path) const { return session_.edits(path); }
    // "Przejdź do wiersza": puts the caret at the start of the 1-based `line`.
    void go_to_line(int line);
    // A syntax error found at load: the caret on its 1-based `line`, the line visible and marked,
    // and the error listed under the text.
    void show_error_at(int line);
    // F7: checks the knowledge base of the file as saved and lists the findings under the text.
    void check_base();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void save();
    void save_and_check();
    // A key of this window only, on an action found by `name`.
    void add_key(QAction* action, const char* name, const QKeySequence& key);
    void save_as();
    void close_frame();
    void ask_line();
    void finding_chosen(QListWidgetItem* item);
    // The current line and the lines with findings, marked across the whole width.
    void mark_lines();
    // Shows the findings list as high as its rows, up to a few: the text keeps the window.
    void show_findings();

    EditSession session_;
    QPlainTextEdit* editor_;
    QListWidget* findings_;
    std::vector<int> finding_lines_;  // 1-based lines of this file with findings
};

}  // namespace xamo
