// Read-only child windows: the text window (whole files, reports, descriptions) and the picture
// window.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

class QImage;

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

class PictureWindow : public QWidget {
    Q_OBJECT
  public:
    // Nothing when the file cannot be read as a picture.
    static PictureWindow* open(const std::string& path);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    explicit PictureWindow(const QImage& image);
    QImage image_;
};

}  // namespace xamo
