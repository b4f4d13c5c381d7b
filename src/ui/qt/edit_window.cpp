#include "ui/qt/edit_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "ui/qt/dialogs.h"
#include "ui/qt/main_window.h"
#include "ui/qt/settings.h"
#include "ui/qt/text_window.h"

namespace xamo {

EditWindow::EditWindow(EditSession session, const std::string& text)
    : session_(std::move(session)) {
    setObjectName("edit_window");
    // "[*]" is where Qt shows the modification mark.
    setWindowTitle(qs(session_.window_title()) + "[*]");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QMenuBar;
    layout->setMenuBar(bar);
    editor_ = new QPlainTextEdit;
    editor_->setObjectName("editor");
    editor_->setFont(fixed_font());
    add_zoom_keys(editor_);
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
    QAction* save = bar->addAction("Zapisz", this, &EditWindow::save);
    save->setObjectName("save");
    save->setShortcut(QKeySequence::Save);
    // The keys belong to this window only: several edit windows may be open.
    save->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(save);
    // The frame's own close action already answers the platform's close keys; a key bound twice
    // would answer neither, so this window takes only those the frame leaves.
    QList<QKeySequence> close_keys;
    const auto frame_keys = QKeySequence::keyBindings(QKeySequence::Close);
    for (const QKeySequence& key :
         {QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::CTRL | Qt::Key_F4)}) {
        if (!frame_keys.contains(key)) close_keys << key;
    }
    if (!close_keys.isEmpty()) {
        auto* close = new QAction("Zamknij", this);
        close->setObjectName("close");
        close->setShortcuts(close_keys);
        close->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(close, &QAction::triggered, this, &EditWindow::close_frame);
        addAction(close);
    }
    connect(editor_->document(), &QTextDocument::modificationChanged, this,
            &QWidget::setWindowModified);
}

std::string EditWindow::text() const {
    // toPlainText() would turn non-breaking spaces into blanks; the raw text keeps them.
    QString raw = editor_->document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, '\n');
    raw.replace(QChar::LineSeparator, '\n');
    return utf8(raw);
}

bool EditWindow::changed() const { return editor_->document()->isModified(); }

void EditWindow::save() {
    if (session_.save(text())) close_frame();
}

void EditWindow::save_as() {
    if (session_.save_as(text())) close_frame();
}

void EditWindow::close_frame() { close_child_window(this); }

void EditWindow::closeEvent(QCloseEvent* event) {
    if (session_.close_request(text(), changed())) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace xamo
