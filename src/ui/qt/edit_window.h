// The edit window: a plain-text editor over one file, with the menu "Edycja", "Zapisz jako" and
// "Zapisz" (Ctrl+S); Ctrl+W and Ctrl+F4 close it. Its title is marked while the text differs from
// the file. The saving and the close question are EditSession's; this class only adapts widgets.
#pragma once

#include <QWidget>
#include <string>

#include "app/edit_session.h"

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

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void save();
    void save_as();
    void close_frame();

    EditSession session_;
    QPlainTextEdit* editor_;
};

}  // namespace xamo
