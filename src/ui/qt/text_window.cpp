#include "ui/qt/text_window.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "ui/qt/dialogs.h"
#include "ui/qt/settings.h"

namespace xamo {

QFont fixed_font() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(8);
    return sized(font);
}

void make_read_only(QPlainTextEdit* view) {
    view->setReadOnly(true);
    view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

TextWindow::TextWindow(const std::string& text, std::function<void()> on_close)
    : on_close_(std::move(on_close)) {
    setObjectName("text_window");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* view = new QPlainTextEdit;
    view->setObjectName("text");
    make_read_only(view);
    view->setFont(fixed_font());
    add_zoom_keys(view);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    QString shown = qs(text);
    shown.replace("\r\n", "\n");
    view->setPlainText(shown);
    view->moveCursor(QTextCursor::Start);
    layout->addWidget(view);
}

void TextWindow::closeEvent(QCloseEvent* event) {
    if (on_close_) on_close_();
    event->accept();
}

}  // namespace xamo
