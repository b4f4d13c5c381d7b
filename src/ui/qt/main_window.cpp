#include "ui/qt/main_window.h"

#include <QCloseEvent>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>

#include "app/application.h"
#include "ui/qt/dialogs.h"
#include "ui/qt/edit_window.h"
#include "ui/qt/qt_interaction.h"
#include "ui/qt/text_window.h"

namespace xamo {
namespace {

// Thirteen top-level menus do not fit one row of a screen 1280 pixels wide, and a menu behind the
// bar's extension button is hard to find: the menus of the six bases take the first row, the work
// on the loaded knowledge (analysis, reports, inference, settings, help) the second.
constexpr int kSecondMenuRowFrom = 10127;

}  // namespace

void close_child_window(QWidget* window) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
        frame->close();
    } else {
        window->close();
    }
}

// --- introduction window ------------------------------------------------------------------------

IntroductionWindow::IntroductionWindow() { setObjectName("introduction"); }

// The picture is read on every repaint, so a picture replaced meanwhile is shown as it is now.
void IntroductionWindow::paintEvent(QPaintEvent*) {
    const QImage picture("main_rd.bmp");
    if (picture.isNull()) return;
    QPainter painter(this);
    painter.drawImage(rect(), picture);
}

void IntroductionWindow::mousePressEvent(QMouseEvent*) { close_child_window(this); }

void IntroductionWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}

// --- main window --------------------------------------------------------------------------------

MainWindow::MainWindow(Application& app, QtInteraction& ui) : app_(app) {
    ui.attach(this, &app);
    setObjectName("main_window");
    area_ = new QMdiArea;
    area_->setObjectName("area");
    setCentralWidget(area_);
    // The viewport has its new size by the time it hears of the resize; the area itself not yet.
    area_->viewport()->installEventFilter(this);

    // The message window exists from the start so that nothing written is lost; it is shown
    // when the introduction closes.
    messages_ = new QPlainTextEdit;
    messages_->setObjectName("messages");
    messages_->setReadOnly(true);
    messages_->setFont(fixed_font());
    messages_->setLineWrapMode(QPlainTextEdit::NoWrap);
    message_frame_ = area_->addSubWindow(
        messages_, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    message_frame_->setWindowTitle("Okno Pomocnicze");
    message_frame_->hide();

    auto* rows = new QWidget;
    rows->setObjectName("menu_rows");
    auto* rows_layout = new QVBoxLayout(rows);
    rows_layout->setContentsMargins(0, 0, 0, 0);
    rows_layout->setSpacing(0);
    for (int i = 1; i <= 2; ++i) {
        auto* row = new QMenuBar;
        row->setObjectName(QString("menu_row_%1").arg(i));
        row->setNativeMenuBar(false);
        rows_layout->addWidget(row);
        menu_rows_.push_back(row);
    }
    setMenuWidget(rows);
    build_menu();
    app_.commands().on_change([this] { reflect_availability(); });

    auto* introduction = new IntroductionWindow;
    connect(introduction, &IntroductionWindow::closed, this, &MainWindow::introduction_closed);
    // Only a close button: a minimised or maximised introduction would leave a grey window with
    // every command disabled.
    introduction_ = area_->addSubWindow(
        introduction, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    introduction_->setAttribute(Qt::WA_DeleteOnClose);
    introduction_->setWindowTitle("xamo_RD");

    app_.start();
    reflect_availability();
    resize(default_size());
}

QMenu* MainWindow::menu_for(QMenuBar* row, const std::vector<std::string>& path) {
    QMenu* menu = nullptr;
    std::string key;
    for (const auto& part : path) {
        key += part;
        key += '\n';
        auto it = menus_.find(key);
        if (it == menus_.end()) {
            QMenu* created = menu ? menu->addMenu(qs(part)) : row->addMenu(qs(part));
            it = menus_.emplace(key, created).first;
        }
        menu = it->second;
    }
    return menu;
}

void MainWindow::build_menu() {
    for (const auto& info : app_.commands().commands()) {
        const int id = info.id;
        QMenuBar* row = menu_rows_[id < kSecondMenuRowFrom ? 0 : 1];
        if (info.is_submenu) {
            auto path = info.menu_path;
            path.push_back(info.caption);
            QAction* submenu = menu_for(row, path)->menuAction();
            submenu->setObjectName(QString("command_%1").arg(id));
            actions_[id] = submenu;
            continue;
        }
        QMenu* menu = menu_for(row, info.menu_path);
        QAction* action =
            menu ? menu->addAction(qs(info.caption)) : row->addAction(qs(info.caption));
        action->setObjectName(QString("command_%1").arg(id));
        connect(action, &QAction::triggered, this, [this, id] { run(id); });
        actions_[id] = action;
    }
}

QAction* MainWindow::action(int id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::reflect_availability() {
    const auto& commands = app_.commands();
    for (const auto& [id, action] : actions_) action->setEnabled(commands.enabled(id));
}

void MainWindow::run(int id) {
    try {
        app_.run_command(id);
    } catch (const std::exception& error) {
        app_.ui().note("Błąd!", error.what());
    }
    if (app_.finished()) close();
}

void MainWindow::introduction_closed() {
    introduction_ = nullptr;
    app_.close_introduction();
    message_frame_->show();
    fill_area(message_frame_);
}

void MainWindow::fill_area(QMdiSubWindow* window) {
    if (window) window->setGeometry(QRect(QPoint(0, 0), area_->viewport()->size()));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == area_->viewport() && event->type() == QEvent::Resize) {
        fill_area(introduction_);
        if (message_frame_->isVisible()) fill_area(message_frame_);
    }
    return QMainWindow::eventFilter(watched, event);
}

// Text written while a command runs is collected and shown when the event loop next runs (a
// dialog, the progress of a long run, the end of the command): the window is not laid out again
// per message, and of a long text only its last lines are kept on the way.
void MainWindow::append_message(const QString& text) {
    pending_ += text;
    pending_lines_ += static_cast<int>(text.count('\n'));
    if (pending_lines_ > 2 * kMessageLines) {
        // Keep the last kMessageLines line breaks and what follows them: all the window can
        // show, so what it showed before is pushed out.
        qsizetype at = pending_.size();
        for (int breaks = 0; breaks <= kMessageLines; ++breaks)
            at = pending_.lastIndexOf('\n', at - 1);
        pending_.remove(0, at + 1);
        pending_lines_ = kMessageLines;
        replace_messages_ = true;
    }
    if (!show_scheduled_) {
        show_scheduled_ = true;
        QTimer::singleShot(0, this, &MainWindow::show_messages);
    }
}

void MainWindow::show_messages() {
    show_scheduled_ = false;
    if (pending_.isEmpty() && !replace_messages_) return;
    if (replace_messages_) {
        messages_->setPlainText(pending_);
    } else {
        QTextCursor cursor(messages_->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(pending_);
    }
    pending_.clear();
    pending_lines_ = 0;
    replace_messages_ = false;
    trim_messages();
    messages_->moveCursor(QTextCursor::End);
    messages_->ensureCursorVisible();
}

// Keeps the last kMessageLines lines; the empty block after a final line break is no line.
void MainWindow::trim_messages() {
    auto* document = messages_->document();
    int lines = document->blockCount();
    if (document->lastBlock().length() <= 1) --lines;
    if (lines <= kMessageLines) return;
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::Start);
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, lines - kMessageLines);
    cursor.removeSelectedText();
}

void MainWindow::new_message_window() {
    pending_.clear();
    pending_lines_ = 0;
    replace_messages_ = false;
    messages_->clear();
}

QMdiSubWindow* MainWindow::add_child(QWidget* content, const QString& title) {
    content->setWindowTitle(title);
    auto* frame = area_->addSubWindow(content);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setWindowTitle(title);
    const QSize room = area_->viewport()->size();
    frame->resize(std::max(room.width() * 7 / 10, 480), std::max(room.height() * 7 / 10, 360));
    const int offset = (children_opened_++ % 8) * 24;
    frame->move(offset, offset);
    frame->show();
    area_->setActiveSubWindow(frame);
    return frame;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!app_.finished() && !app_.request_close()) {
        event->ignore();
        return;
    }
    // Open edit windows ask whether to save before the program ends; one that stays open (the
    // question closed without an answer, or its text could not be saved) keeps the program.
    for (auto* child : area_->subWindowList()) {
        if (qobject_cast<EditWindow*>(child->widget()) && !child->close()) {
            app_.keep_running();
            event->ignore();
            return;
        }
    }
    event->accept();
}

}  // namespace xamo
