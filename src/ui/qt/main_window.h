// The main window: the menu built from the command table, the introduction window, the message
// window ("Okno Pomocnicze", the last 100 lines) and the child windows, all inside an MDI area.
// It reflects the availability of the command table after every change and runs each command
// through Application::run_command.
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;
class QPlainTextEdit;

namespace xamo {

class Application;
class EditWindow;
class QtInteraction;

inline constexpr int kMessageLines = 100;

// Closes a child window together with its frame in the MDI area.
void close_child_window(QWidget* window);

class IntroductionWindow : public QWidget {
    Q_OBJECT
  public:
    IntroductionWindow();
  signals:
    void closed();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    // Attaches `ui` to this window and starts the application (start title, menu disabled).
    MainWindow(Application& app, QtInteraction& ui);
    // QWidget tears the children down after this object's own part is gone, and the area tells
    // of every window it loses meanwhile: nothing of this window may answer then.
    ~MainWindow() override;
    // The size the window opens with; both menu rows fit it.
    static QSize default_size() { return {1000, 700}; }

    // Adds text to the message window; it is shown when the event loop next runs.
    void append_message(const QString& text);
    // Shows the text added since the window was last shown (the event loop does this).
    void show_messages();
    // "Utwórz nowe Okno Pomocnicze": the message window starts empty again.
    void new_message_window();
    // Shows `content` as a child window with its own frame.
    QMdiSubWindow* add_child(QWidget* content, const QString& title);
    // Brings the edit window of `path` forward and returns it; null when no window edits that
    // file.
    EditWindow* raise_editor_of(const std::string& path);
    // "Okna": the open windows, cascade, tile, next, close all.
    QMenu* window_menu() const { return window_menu_; }
    QAction* action(int id) const;
    // The rows of the menu bar, top first.
    const std::vector<QMenuBar*>& menu_rows() const { return menu_rows_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    // A base file dropped on the window is loaded as the kind its name's prefix names.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void build_menu();
    void build_window_menu();
    // "Wielkość tekstu..." in "Ustawienia": one text size for every window and dialog.
    void add_text_size_setting();
    // "Ostatnio ładowane bazy reguł" in the rule-base menu, loading one with a click.
    void add_recent_bases_menu();
    void list_recent_bases(QMenu* menu);
    void load_file(const std::string& path);
    void list_windows();
    void close_all_windows();
    void activate(QMdiSubWindow* window);
    // The message window filling the area stays behind the windows opened over it.
    void keep_messages_behind(QMdiSubWindow* activated);
    QMenu* menu_for(QMenuBar* row, const std::vector<std::string>& path);
    void reflect_availability();
    void run(int id);
    // Runs a command's work: an error becomes a note; the recent bases are remembered and a
    // confirmed "Zakończ" closes the window.
    void run_guarded(const std::function<void()>& work);
    void introduction_closed();
    void fill_area(QMdiSubWindow* window);
    void trim_messages();

    Application& app_;
    QMdiArea* area_;
    QMdiSubWindow* introduction_ = nullptr;
    QMdiSubWindow* message_frame_ = nullptr;
    QPlainTextEdit* messages_ = nullptr;
    QString pending_;  // added, not yet shown
    int pending_lines_ = 0;
    bool replace_messages_ = false;  // pending_ alone fills the window
    bool show_scheduled_ = false;
    std::map<int, QAction*> actions_;  // commands and the submenus that carry an id
    std::map<std::string, QMenu*> menus_;
    std::vector<QMenuBar*> menu_rows_;
    QMenu* window_menu_ = nullptr;
    bool messages_fill_area_ = true;  // until the user arranges the windows
    int children_opened_ = 0;
};

}  // namespace xamo
