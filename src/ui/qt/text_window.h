// The read-only text window (whole files, reports, descriptions).
#pragma once

#include <QWidget>
#include <functional>
#include <string>

namespace xamo {

// Fixed-pitch font of size 8, shared with the edit window.
QFont fixed_font();

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
