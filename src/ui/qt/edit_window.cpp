#include "ui/qt/edit_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QInputDialog>
#include <QListWidget>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QVBoxLayout>
#include <algorithm>

#include "check/checker.h"
#include "check/report.h"
#include "ui/qt/dialogs.h"
#include "ui/qt/main_window.h"
#include "ui/qt/settings.h"
#include "ui/qt/text_window.h"

namespace xamo {
namespace {

// Colours the parts of a base file's facts: the fact's name, strings, numbers and list brackets.
class BaseFileHighlighter : public QSyntaxHighlighter {
  public:
    explicit BaseFileHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
        QTextCharFormat name;
        name.setForeground(QColor(24, 78, 119));
        name.setFontWeight(QFont::Bold);
        QTextCharFormat number;
        number.setForeground(QColor(0, 110, 60));
        QTextCharFormat list;
        list.setForeground(QColor(130, 40, 140));
        list.setFontWeight(QFont::Bold);
        QTextCharFormat string;
        string.setForeground(QColor(160, 40, 20));
        // In this order: a string's contents are coloured last, over anything inside them.
        rules_ = {{QRegularExpression(R"(^\s*[^\s("]+(?=\())"), name},
                  {QRegularExpression(R"(-?\b\d+(\.\d+)?\b)"), number},
                  {QRegularExpression(R"([\[\]])"), list},
                  {QRegularExpression(R"("[^"]*"?)"), string}};
    }

  protected:
    void highlightBlock(const QString& text) override {
        for (const auto& [pattern, format] : rules_) {
            for (auto it = pattern.globalMatch(text); it.hasNext();) {
                const auto match = it.next();
                setFormat(static_cast<int>(match.capturedStart()),
                          static_cast<int>(match.capturedLength()), format);
            }
        }
    }

  private:
    std::vector<std::pair<QRegularExpression, QTextCharFormat>> rules_;
};

class BaseFileEditor;

// The strip left of the text with the number of each line.
class LineNumbers : public QWidget {
  public:
    explicit LineNumbers(BaseFileEditor* editor);
    int needed_width() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    BaseFileEditor* editor_;
};

// A plain-text editor with line numbers; the numbers need the editor's protected geometry.
class BaseFileEditor : public QPlainTextEdit {
  public:
    BaseFileEditor() : numbers_(new LineNumbers(this)) {
        connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { fit_numbers(); });
        connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
            if (dy != 0) {
                numbers_->scroll(0, dy);
            } else {
                numbers_->update(0, rect.y(), numbers_->width(), rect.height());
            }
        });
        fit_numbers();
    }

    void paint_numbers(QPaintEvent* event) {
        QPainter painter(numbers_);
        painter.fillRect(event->rect(), QColor(238, 238, 238));
        painter.setPen(QColor(120, 120, 120));
        painter.setFont(font());
        QTextBlock block = firstVisibleBlock();
        qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
        while (block.isValid() && top <= event->rect().bottom()) {
            const qreal height = blockBoundingRect(block).height();
            if (block.isVisible() && top + height >= event->rect().top()) {
                painter.drawText(0, static_cast<int>(top), numbers_->width() - 4,
                                 fontMetrics().height(), Qt::AlignRight,
                                 QString::number(block.blockNumber() + 1));
            }
            block = block.next();
            top += height;
        }
    }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QPlainTextEdit::resizeEvent(event);
        const QRect inside = contentsRect();
        numbers_->setGeometry(inside.left(), inside.top(), numbers_->needed_width(),
                              inside.height());
    }
    void changeEvent(QEvent* event) override {
        QPlainTextEdit::changeEvent(event);
        if (event->type() == QEvent::FontChange) fit_numbers();
    }

  private:
    void fit_numbers() { setViewportMargins(numbers_->needed_width(), 0, 0, 0); }

    LineNumbers* numbers_;
};

LineNumbers::LineNumbers(BaseFileEditor* editor) : QWidget(editor), editor_(editor) {
    setObjectName("line_numbers");
}

int LineNumbers::needed_width() const {
    const auto digits = QString::number(std::max(1, editor_->blockCount())).size();
    return 8 + QFontMetrics(editor_->font()).horizontalAdvance(QLatin1Char('9')) *
                   static_cast<int>(digits);
}

void LineNumbers::paintEvent(QPaintEvent* event) { editor_->paint_numbers(event); }

QTextEdit::ExtraSelection whole_line(const QTextCursor& at, const QColor& colour) {
    QTextEdit::ExtraSelection mark;
    mark.format.setBackground(colour);
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    mark.cursor = at;
    mark.cursor.clearSelection();
    return mark;
}

}  // namespace

EditWindow::EditWindow(EditSession session, const std::string& text)
    : session_(std::move(session)) {
    setObjectName("edit_window");
    // "[*]" is where Qt shows the modification mark.
    setWindowTitle(qs(session_.window_title()) + "[*]");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QMenuBar;
    layout->setMenuBar(bar);
    editor_ = new BaseFileEditor;
    editor_->setObjectName("editor");
    editor_->setFont(fixed_font());
    add_zoom_keys(editor_);
    editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor_->setPlainText(qs(text));
    editor_->setPlaceholderText(qs(session_.hint()));
    editor_->moveCursor(QTextCursor::Start);
    layout->addWidget(editor_, 1);
    new BaseFileHighlighter(editor_->document());
    findings_ = new QListWidget;
    findings_->setObjectName("findings");
    findings_->setFont(fixed_font());
    findings_->hide();
    layout->addWidget(findings_);
    connect(findings_, &QListWidget::itemActivated, this, &EditWindow::finding_chosen);
    connect(findings_, &QListWidget::itemClicked, this, &EditWindow::finding_chosen);
    connect(editor_, &QPlainTextEdit::cursorPositionChanged, this, &EditWindow::mark_lines);

    auto* edit = bar->addMenu("Edycja");
    edit->addAction("Cofnij", editor_, &QPlainTextEdit::undo);
    edit->addAction("Ponów", editor_, &QPlainTextEdit::redo);
    edit->addAction("Wytnij", editor_, &QPlainTextEdit::cut);
    edit->addAction("Kopiuj", editor_, &QPlainTextEdit::copy);
    edit->addAction("Wklej", editor_, &QPlainTextEdit::paste);
    edit->addAction("Usuń", editor_, [this] { editor_->textCursor().removeSelectedText(); });
    // The keys belong to this window only: several edit windows may be open.
    add_key(edit->addAction("Przejdź do wiersza...", this, &EditWindow::ask_line), "go_to_line",
            QKeySequence(Qt::CTRL | Qt::Key_G));
    add_key(edit->addAction("Sprawdź bazę", this, &EditWindow::check_base), "check",
            QKeySequence(Qt::Key_F7));
    // "Zapisz" closes the window, as it always has; Ctrl+S saves and stays, to check and go on.
    add_key(edit->addAction("Zapisz i sprawdź", this, &EditWindow::save_and_check),
            "save_and_check", QKeySequence::Save);
    bar->addAction("Zapisz jako", this, &EditWindow::save_as)->setObjectName("save_as");
    bar->addAction("Zapisz", this, &EditWindow::save)->setObjectName("save");
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

void EditWindow::save_and_check() {
    if (!session_.save_and_stay(text())) return;
    editor_->document()->setModified(false);
    check_base();
}

void EditWindow::add_key(QAction* action, const char* name, const QKeySequence& key) {
    action->setObjectName(name);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);
}

void EditWindow::save_as() {
    if (session_.save_as(text())) close_frame();
}

void EditWindow::close_frame() { close_child_window(this); }

void EditWindow::go_to_line(int line) {
    const QTextBlock block = editor_->document()->findBlockByNumber(std::max(line, 1) - 1);
    if (!block.isValid()) return;
    QTextCursor cursor(block);
    editor_->setTextCursor(cursor);
    editor_->centerCursor();
    editor_->setFocus();
}

void EditWindow::ask_line() {
    QInputDialog dialog(this);
    dialog.setObjectName("go_to_line");
    dialog.setWindowTitle("Przejdź do wiersza");
    dialog.setLabelText(QString("Numer wiersza (1-%1):").arg(editor_->blockCount()));
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setIntRange(1, editor_->blockCount());
    dialog.setIntValue(editor_->textCursor().blockNumber() + 1);
    dialog.setOkButtonText("&OK");
    dialog.setCancelButtonText("Anuluj");
    if (dialog.exec() == QDialog::Accepted) go_to_line(dialog.intValue());
}

void EditWindow::check_base() {
    // The window waits for the check: a short limit keeps it answering.
    CheckOptions options;
    options.time_limit = std::chrono::seconds(10);
    const CheckResult result = check_paths({session_.path()}, options);
    findings_->clear();
    finding_lines_.clear();
    if (changed()) {
        findings_->addItem(
            "Sprawdzono plik zapisany na dysku: zmiany w oknie nie są jeszcze "
            "zapisane.");
    }
    for (const Finding& finding : result.findings) {
        auto* item = new QListWidgetItem(qs(finding_text(finding)).section('\n', 0, 0));
        const bool here = session_.edits(finding.location.file) && finding.location.line > 0;
        if (here) {
            item->setData(Qt::UserRole, static_cast<int>(finding.location.line));
            finding_lines_.push_back(static_cast<int>(finding.location.line));
        }
        findings_->addItem(item);
    }
    if (result.findings.empty()) findings_->addItem("Sprawdzanie nie znalazło niczego.");
    show_findings();
    mark_lines();
}

void EditWindow::show_error_at(int line) {
    findings_->clear();
    auto* item = new QListWidgetItem(QString("Błąd syntaksu w wierszu %1").arg(line));
    item->setData(Qt::UserRole, line);
    findings_->addItem(item);
    show_findings();
    finding_lines_ = {line};
    go_to_line(line);
    mark_lines();
}

void EditWindow::show_findings() {
    constexpr int kMostRowsShown = 6;
    const int rows = std::min(findings_->count(), kMostRowsShown);
    const int row_height =
        std::max(findings_->sizeHintForRow(0), findings_->fontMetrics().height());
    findings_->setFixedHeight(rows * row_height + 2 * findings_->frameWidth() + 4);
    findings_->show();
}

void EditWindow::finding_chosen(QListWidgetItem* item) {
    const QVariant line = item->data(Qt::UserRole);
    if (line.isValid()) go_to_line(line.toInt());
}

void EditWindow::mark_lines() {
    // A finding's mark is drawn last: it stays seen on the current line too.
    QList<QTextEdit::ExtraSelection> marks{
        whole_line(editor_->textCursor(), QColor(255, 250, 205))};
    for (const int line : finding_lines_) {
        const QTextBlock block = editor_->document()->findBlockByNumber(line - 1);
        if (block.isValid()) marks << whole_line(QTextCursor(block), QColor(255, 215, 215));
    }
    editor_->setExtraSelections(marks);
}

void EditWindow::closeEvent(QCloseEvent* event) {
    if (session_.close_request(text(), changed())) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace xamo
