// The windows and dialogs of advice, pictures, sounds and descriptions: the picture drawn stretched
// to its area on every repaint (in the modal dialog "Przegląd grafiki" and in the picture child
// window), the reading dialogs "Czytanie rady" and "Czytanie opisu", and the drop-down choice of a
// media file.
#pragma once

#include <QDialog>
#include <QImage>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "dialog/interaction.h"

class QComboBox;

namespace xamo {

// Reads a picture (BMP, PNG or JPEG by its content) whose header passes the checks of
// picture_size(); nothing when it cannot be decoded.
std::optional<QImage> load_picture(const std::string& path);

// Draws its picture stretched over its whole area on every repaint.
class PictureView : public QWidget {
    Q_OBJECT
  public:
    explicit PictureView(QImage image, QWidget* parent = nullptr);
    // Runs on a click on the picture.
    std::function<void()> on_click;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QImage image_;
};

// "Przegląd grafiki": the picture above one "&Zamknij" button.
class PictureDialog : public QDialog {
    Q_OBJECT
  public:
    PictureDialog(QWidget* parent, QImage image);
};

// The picture child window. A close request asks first; a click on the picture closes it at once.
class PictureWindow : public QWidget {
    Q_OBJECT
  public:
    // `confirm_close` asks the user; true closes the window.
    PictureWindow(QImage image, std::function<bool()> confirm_close);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    std::function<bool()> confirm_close_;
    bool closing_ = false;
};

// "Czytanie rady" and "Czytanie opisu": a heading above a read-only text, one "&Kontynuuj" button.
// The controls share the area proportionally whenever the dialog is resized.
class ReadingDialog : public QDialog {
    Q_OBJECT
  public:
    // `heading_in_field`: the heading in a one-line field (the description) rather than a label.
    ReadingDialog(QWidget* parent, const std::string& title, const std::string& heading,
                  bool heading_in_field, const std::string& text);
};

// A drop-down list under the label and name of a base, with one "&OK" button.
class DropDownChoiceDialog : public QDialog {
    Q_OBJECT
  public:
    DropDownChoiceDialog(QWidget* parent, const DropDownDialog& dialog);
    int chosen() const;

  private:
    QComboBox* items_;
};

}  // namespace xamo
