// The modal dialogs of the Qt front end. Each is a small class so that tests can drive it; the
// dialogs with "Zakończ" never throw from inside the event loop: they remember the confirmed
// quit, and exec_or_quit() throws QuitRequested after exec() has returned.
#pragma once

#include <QDialog>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "dialog/interaction.h"

class QLineEdit;
class QVBoxLayout;
class QListWidget;
class QButtonGroup;
class QWidget;
class QFileDialog;
class QMessageBox;

namespace xamo {

QString qs(const std::string& utf8);
std::string utf8(const QString& text);

// The width a window needs for its title with the window frame's icon and buttons.
int title_width(const QWidget& window);
// Makes a message box at least as wide as its title, so the title is not cut; call it once the
// buttons are added. Other dialogs are widened when shown (appearance.h).
void fit_title(QMessageBox& box);
// `caption` with an access letter: its own "&" if it has one, else the first letter not yet in
// `taken` ("Tak" -> "&Tak"). The letter chosen is added to `taken`.
QString with_access_letter(const QString& caption, QString& taken);

// A dialog with a "Zakończ" button that asks whether to quit the program.
class QuitDialog : public QDialog {
    Q_OBJECT
  public:
    QuitDialog(UserInteraction& ui, QWidget* parent);
    bool quit_requested() const { return quit_requested_; }
    // Runs the dialog modally; throws QuitRequested when the user confirmed "Zakończ".
    int exec_or_quit();
    // "Zakończ": asks whether to quit; on Yes ends the dialog, on No the dialog stays.
    void finish();

  protected:
    // The row of the accepting button (the default), "Zakończ" and, when asked for, "Anuluj".
    void add_buttons(QVBoxLayout* layout, const QString& go_on_caption, const char* name,
                     bool cancellable = false);

  private:
    UserInteraction& ui_;
    bool quit_requested_ = false;
};

// "&Kontynuuj"/"Zakończ" over a list of strings, single or multiple choice; a cancellable list
// adds "Anuluj", which closes it as Escape does (exec() returns Rejected).
class ListDialog : public QuitDialog {
    Q_OBJECT
  public:
    ListDialog(UserInteraction& ui, QWidget* parent, const std::string& title,
               const std::string& prompt, const std::vector<std::string>& items, bool multiple,
               bool cancellable = false);
    std::vector<int> chosen() const;  // 0-based, ascending

  private:
    QListWidget* list_;
};

// "Wnioskowanie": a title field above a list box of lines.
class ExplanationDialog : public QuitDialog {
    Q_OBJECT
  public:
    ExplanationDialog(UserInteraction& ui, QWidget* parent, const std::string& title,
                      const std::vector<std::string>& lines);
};

// "Określ wartość argumentu": name = value.
class ValueDialog : public QuitDialog {
    Q_OBJECT
  public:
    ValueDialog(UserInteraction& ui, QWidget* parent, const std::string& title,
                const std::string& name);
    std::string value() const;

  private:
    QLineEdit* value_;
};

// Radio buttons with one "&OK".
class OptionDialog : public QDialog {
    Q_OBJECT
  public:
    OptionDialog(QWidget* parent, const RadioDialog& dialog);
    int chosen() const;  // 1-based

  private:
    QButtonGroup* group_;
};

// A file-dialog mask matches a whole file name without regard to letter case; "*.*" matches
// every name, as on the system the bases come from.
bool mask_matches(const std::string& mask, const QString& name);

// A non-native file dialog whose masks match without regard to letter case ("DŹ*.BRD" shows
// "dźgrypa.brd"), starting in `folder` or, when it is empty, the current directory. Saving adds
// the chosen mask's extension to a name typed without one.
std::optional<std::string> run_file_dialog(QWidget* parent, bool save, const std::string& title,
                                           const std::vector<FileFilter>& filters,
                                           const std::string& start, const QString& folder = {});

}  // namespace xamo
