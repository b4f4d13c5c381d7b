#include "ui/qt/edit_window.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "ui/qt/dialogs.h"
#include "ui/qt/main_window.h"
#include "ui/qt/text_window.h"

namespace xamo {

EditWindow::EditWindow(EditSession session, const std::string& text)
    : session_(std::move(session)) {
    setObjectName("edit_window");
    setWindowTitle(qs(session_.window_title()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QMenuBar;
    layout->setMenuBar(bar);
    editor_ = new QPlainTextEdit;
    editor_->setObjectName("editor");
    editor_->setFont(fixed_font());
    editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor_->setPlainText(qs(text));
    editor_->moveCursor(QTextCursor::Start);
    layout->addWidget(editor_);

    auto* edit = bar->addMenu("Edycja");
    edit->addAction("Cofnij", editor_, &QPlainTextEdit::undo);
    edit->addAction("Ponów", editor_, &QPlainTextEdit::redo);
    edit->addAction("Wytnij", editor_, &QPlainTextEdit::cut);
    edit->addAction("Kopiuj", editor_, &QPlainTextEdit::copy);
    edit->addAction("Wklej", editor_, &QPlainTextEdit::paste);
    edit->addAction("Usuń", editor_, [this] { editor_->textCursor().removeSelectedText(); });
    bar->addAction("Zapisz jako", this, &EditWindow::save_as)->setObjectName("save_as");
    bar->addAction("Zapisz", this, &EditWindow::save)->setObjectName("save");
}

std::string EditWindow::text() const {
    // toPlainText() would turn non-breaking spaces into blanks; the raw text keeps them.
    QString raw = editor_->document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, '\n');
    raw.replace(QChar::LineSeparator, '\n');
    return utf8(raw);
}

void EditWindow::save() {
    if (session_.save(text())) close_frame();
}

void EditWindow::save_as() {
    if (session_.save_as(text())) close_frame();
}

void EditWindow::close_frame() { close_child_window(this); }

void EditWindow::closeEvent(QCloseEvent* event) {
    if (session_.close_request(text())) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace xamo
