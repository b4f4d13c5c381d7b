#include "ui/qt/media_windows.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialog/media_info.h"
#include "ui/qt/dialogs.h"
#include "ui/qt/main_window.h"
#include "ui/qt/settings.h"
#include "ui/qt/text_window.h"

namespace xamo {

std::optional<QImage> load_picture(const std::string& path) {
    // Our own header check first: a hostile header never reaches the decoder.
    if (!picture_size(path)) return std::nullopt;
    QImageReader reader(qs(path));
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull()) return std::nullopt;
    return image;
}

PictureView::PictureView(QImage image, QWidget* parent)
    : QWidget(parent), image_(std::move(image)) {
    setObjectName("picture");
    setMinimumSize(32, 32);
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(rect(), image_);
}

void PictureView::mousePressEvent(QMouseEvent*) {
    if (on_click) on_click();
}

namespace {

// Room for the picture at its own size, within reason.
QSize shown_size(const QImage& image) {
    return image.size().boundedTo(QSize(900, 650)).expandedTo(QSize(160, 120));
}

}  // namespace

PictureDialog::PictureDialog(QWidget* parent, QImage image) : QDialog(parent) {
    setObjectName("picture_dialog");
    setWindowTitle("Przegląd grafiki");
    auto* layout = new QVBoxLayout(this);
    const QSize size = shown_size(image);
    auto* view = new PictureView(std::move(image));
    layout->addWidget(view, 1);
    auto* close = new QPushButton("&Zamknij");
    close->setObjectName("close");
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignHCenter);
    resize(size + QSize(24, 60));
}

PictureWindow::PictureWindow(QImage image, std::function<bool()> confirm_close)
    : confirm_close_(std::move(confirm_close)) {
    setObjectName("picture_window");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* view = new PictureView(std::move(image));
    view->on_click = [this] {
        closing_ = true;
        close_child_window(this);
    };
    layout->addWidget(view);
}

void PictureWindow::closeEvent(QCloseEvent* event) {
    if (closing_ || !confirm_close_ || confirm_close_()) {
        closing_ = true;
        event->accept();
    } else {
        event->ignore();
    }
}

ReadingDialog::ReadingDialog(QWidget* parent, const std::string& title, const std::string& heading,
                             bool heading_in_field, const std::string& text)
    : QDialog(parent) {
    setWindowTitle(qs(title));
    auto* layout = new QVBoxLayout(this);
    if (heading_in_field) {
        auto* field = new QLineEdit(qs(heading));
        field->setObjectName("heading");
        field->setReadOnly(true);
        layout->addWidget(field);
    } else {
        auto* label = new QLabel(qs(heading));
        label->setObjectName("heading");
        layout->addWidget(label);
    }
    auto* view = new QPlainTextEdit;
    view->setObjectName("text");
    make_read_only(view);
    view->setFont(fixed_font());
    add_zoom_keys(view);
    QString shown = qs(text);
    shown.replace("\r\n", "\n");
    view->setPlainText(shown);
    view->moveCursor(QTextCursor::Start);
    layout->addWidget(view, 1);
    auto* go_on = new QPushButton("&Kontynuuj");
    go_on->setObjectName("continue");
    go_on->setDefault(true);
    connect(go_on, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(go_on, 0, Qt::AlignHCenter);
    resize(620, 440);
}

DropDownChoiceDialog::DropDownChoiceDialog(QWidget* parent, const DropDownDialog& dialog)
    : QDialog(parent) {
    setObjectName("dropdown");
    setWindowTitle(qs(dialog.title));
    auto* layout = new QVBoxLayout(this);
    auto* base = new QHBoxLayout;
    base->addWidget(new QLabel(qs(dialog.label)));
    auto* name = new QLineEdit(qs(dialog.base_name));
    name->setReadOnly(true);
    base->addWidget(name, 1);
    layout->addLayout(base);
    layout->addWidget(new QLabel(qs(dialog.prompt)));
    items_ = new QComboBox;
    items_->setObjectName("items");
    for (const auto& item : dialog.items) items_->addItem(qs(item));
    layout->addWidget(items_);
    auto* ok = new QPushButton("&OK");
    ok->setObjectName("ok");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
}

int DropDownChoiceDialog::chosen() const { return items_->currentIndex(); }

}  // namespace xamo
