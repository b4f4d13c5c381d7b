// The read-only text window (whole files, reports, descriptions).
#pragma once

#include <QWidget>
#include <functional>
#include <string>

class QPlainTextEdit;

namespace xamo {

// Fixed-pitch font of size 8, or of the size the user chose; shared with the edit window.
QFont fixed_font();
// Read-only, but with a caret the keys move (Ctrl+Home, Ctrl+End, the arrows) and select with.
void make_read_only(QPlainTextEdit* view);

class TextWindow : public QWidget {
    Q_OBJECT
  public:
    // `on_close` runs when the user closes the window (the main title goes back to "xamo_RD").
    TextWindow(const std::string& text, std::function<void()> on_close);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    std::function<void()> on_close_;
};

}  // namespace xamo
