#include "ui/qt/main_window.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>

#include "app/application.h"
#include "app/loading_commands.h"
#include "app/recent_bases.h"
#include "kb/files.h"
#include "ui/qt/dialogs.h"
#include "ui/qt/edit_window.h"
#include "ui/qt/qt_interaction.h"
#include "ui/qt/settings.h"
#include "ui/qt/text_window.h"

namespace xamo {
namespace {

// Thirteen top-level menus do not fit one row of a screen 1280 pixels wide, and a menu behind the
// bar's extension button is hard to find: the menus of the six bases take the first row, the work
// on the loaded knowledge (analysis, reports, inference, settings, help) the second.
constexpr int kSecondMenuRowFrom = 10127;
constexpr int kSettingsMenu = 10150;
constexpr int kLoadRules = 10058;

}  // namespace

void close_child_window(QWidget* window) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
        frame->close();
    } else {
        window->close();
    }
}

// --- introduction window ------------------------------------------------------------------------

IntroductionWindow::IntroductionWindow() {
    setObjectName("introduction");
    setFocusPolicy(Qt::StrongFocus);
}

// The picture is read on every repaint, so a picture replaced meanwhile is shown as it is now.
void IntroductionWindow::paintEvent(QPaintEvent*) {
    const QImage picture("main_rd.bmp");
    if (picture.isNull()) return;
    QPainter painter(this);
    painter.drawImage(rect(), picture);
}

void IntroductionWindow::mousePressEvent(QMouseEvent*) { close_child_window(this); }

// The keys that close a dialog close the introduction too.
void IntroductionWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Enter:
        case Qt::Key_Return:
        case Qt::Key_Space:
            close_child_window(this);
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

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
    make_read_only(messages_);
    messages_->setFont(fixed_font());
    add_zoom_keys(messages_);
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
    build_window_menu();
    add_text_size_setting();
    add_recent_bases_menu();
    app_.recent_rule_bases().assign(remembered_recent_bases());
    setAcceptDrops(true);
    connect(area_, &QMdiArea::subWindowActivated, this, &MainWindow::keep_messages_behind);
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
    introduction->setFocus();

    app_.start();
    reflect_availability();
    resize(default_size());
    restore_geometry(*this);
}

void MainWindow::add_recent_bases_menu() {
    auto* rules_menu = qobject_cast<QMenu*>(action(kLoadRules)->parent());
    if (!rules_menu) return;
    QMenu* recent = rules_menu->addMenu("Ostatnio ładowane bazy reguł");
    recent->setObjectName("recent_bases");
    connect(recent, &QMenu::aboutToShow, this, [this, recent] { list_recent_bases(recent); });
}

void MainWindow::list_recent_bases(QMenu* menu) {
    menu->clear();
    const bool enabled = app_.commands().enabled(kLoadRules);
    int number = 0;
    for (const std::string& path : app_.recent_rule_bases().paths()) {
        QString shown = qs(path);
        shown.replace('&', "&&");
        QAction* entry = menu->addAction(QString("&%1 %2").arg(++number).arg(shown));
        entry->setObjectName("recent_base");
        entry->setEnabled(enabled);
        connect(entry, &QAction::triggered, this, [this, path] { load_file(path); });
    }
    if (number == 0) menu->addAction("(brak)")->setEnabled(false);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const auto urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile()) return;
    event->acceptProposedAction();
    // After the drop has ended: the load shows modal dialogs.
    const std::string path = utf8(urls.front().toLocalFile());
    QTimer::singleShot(0, this, [this, path] { load_file(path); });
}

// Loads `path` through its load command, as the menu would after the file dialog.
void MainWindow::load_file(const std::string& path) {
    const auto kind = base_kind_of_file(path);
    if (!kind) {
        app_.ui().note("Uwaga!", "Plik " + file_name_of(path) +
                                     " nie jest plikiem bazy wiedzy: nazwa pliku bazy zaczyna "
                                     "się od RE, MO, OG, RA, GR lub DŹ.");
        return;
    }
    run_guarded([this, kind, &path] {
        if (!load_base_file(app_, *kind, path)) {
            app_.ui().note("Uwaga!",
                           "Tej bazy nie można teraz załadować: polecenie ładowania "
                           "jest niedostępne.");
        }
    });
}

void MainWindow::add_text_size_setting() {
    QAction* settings_menu = action(kSettingsMenu);
    if (!settings_menu || !settings_menu->menu()) return;
    QAction* choose = settings_menu->menu()->addAction("Wielkość tekstu...");
    choose->setObjectName("text_size");
    connect(choose, &QAction::triggered, this, [this] {
        QInputDialog dialog(this);
        dialog.setObjectName("text_size");
        dialog.setWindowTitle("Wielkość tekstu");
        dialog.setLabelText("Wielkość tekstu we wszystkich oknach (w punktach):");
        dialog.setInputMode(QInputDialog::IntInput);
        dialog.setIntRange(6, 72);
        dialog.setIntValue(remembered_text_size() ? remembered_text_size() : font().pointSize());
        dialog.setOkButtonText("&OK");
        dialog.setCancelButtonText("Anuluj");
        if (dialog.exec() == QDialog::Accepted) set_text_size(dialog.intValue());
    });
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

void MainWindow::build_window_menu() {
    window_menu_ = menu_rows_[1]->addMenu("Ok&na");
    window_menu_->setObjectName("window_menu");
    window_menu_
        ->addAction("Kaskadowo", this,
                    [this] {
                        messages_fill_area_ = false;
                        area_->cascadeSubWindows();
                    })
        ->setObjectName("cascade");
    window_menu_
        ->addAction("Sąsiadująco", this,
                    [this] {
                        messages_fill_area_ = false;
                        area_->tileSubWindows();
                    })
        ->setObjectName("tile");
    QAction* next =
        window_menu_->addAction("Następne okno", area_, &QMdiArea::activateNextSubWindow);
    next->setObjectName("next_window");
    next->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F6));
    window_menu_->addAction("Zamknij wszystkie", this, &MainWindow::close_all_windows)
        ->setObjectName("close_all");
    window_menu_->addSeparator();
    // The list of windows is made afresh each time the menu opens.
    connect(window_menu_, &QMenu::aboutToShow, this, &MainWindow::list_windows);
}

void MainWindow::list_windows() {
    for (QAction* old : window_menu_->findChildren<QAction*>("open_window")) {
        window_menu_->removeAction(old);
        delete old;
    }
    int number = 0;
    for (QMdiSubWindow* window : area_->subWindowList()) {
        if (!window->isVisible()) continue;
        QString title = window->windowTitle();
        title.replace("[*]", window->isWindowModified() ? "*" : "");
        // The number is the access letter; a title's own "&" is no access letter.
        title.replace('&', "&&");
        QAction* entry = window_menu_->addAction(
            ++number < 10 ? QString("&%1 %2").arg(number).arg(title) : title);
        entry->setParent(window_menu_);
        entry->setObjectName("open_window");
        entry->setCheckable(true);
        entry->setChecked(window == area_->activeSubWindow());
        connect(entry, &QAction::triggered, this, [this, window] { activate(window); });
    }
}

void MainWindow::activate(QMdiSubWindow* window) {
    if (!area_->subWindowList().contains(window)) return;  // closed meanwhile
    if (window->isMinimized()) window->showNormal();
    area_->setActiveSubWindow(window);
    window->raise();
    // Chosen by name, the message window comes forward all the same: raise it again after the
    // lowering its activation queued.
    QTimer::singleShot(0, window, [window] { window->raise(); });
}

void MainWindow::keep_messages_behind(QMdiSubWindow* activated) {
    if (activated != message_frame_ || !messages_fill_area_) return;
    // After the area has raised the window it activated.
    QTimer::singleShot(0, this, [this] {
        if (area_->activeSubWindow() == message_frame_ && messages_fill_area_)
            message_frame_->lower();
    });
}

void MainWindow::close_all_windows() {
    for (QMdiSubWindow* window : area_->subWindowList()) {
        if (window == message_frame_ || window == introduction_) continue;
        window->close();
    }
}

EditWindow* MainWindow::raise_editor_of(const std::string& path) {
    for (QMdiSubWindow* window : area_->subWindowList()) {
        auto* editor = qobject_cast<EditWindow*>(window->widget());
        if (editor && editor->edits(path)) {
            activate(window);
            return editor;
        }
    }
    return nullptr;
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
    run_guarded([this, id] { app_.run_command(id); });
}

void MainWindow::run_guarded(const std::function<void()>& work) {
    try {
        work();
    } catch (const std::exception& error) {
        app_.ui().note("Błąd!", error.what());
    }
    remember_recent_bases(app_.recent_rule_bases().paths());
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

MainWindow::~MainWindow() {
    disconnect(area_, nullptr, this, nullptr);
    area_->viewport()->removeEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == area_->viewport() && event->type() == QEvent::Resize) {
        fill_area(introduction_);
        if (message_frame_->isVisible() && messages_fill_area_) fill_area(message_frame_);
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
    remember_geometry(*this);
    event->accept();
}

}  // namespace xamo
