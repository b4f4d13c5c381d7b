#include "ui/qt/qt_interaction.h"

#include <QDesktopServices>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <algorithm>

#include "app/application.h"
#include "app/edit_session.h"
#include "app/recent_bases.h"
#include "ui/qt/browse_window.h"
#include "ui/qt/dialogs.h"
#include "ui/qt/edit_window.h"
#include "ui/qt/main_window.h"
#include "ui/qt/settings.h"
#include "ui/qt/text_window.h"

namespace xamo {

void QtInteraction::attach(MainWindow* window, Application* app) {
    window_ = window;
    app_ = app;
}

namespace {

// Shows the note; true when the button `other` (if given) was chosen rather than "OK".
bool run_note(QWidget* parent, const std::string& title, const std::string& text, bool columns,
              const QString& other = {}) {
    QMessageBox box(parent);
    box.setObjectName("note");
    box.setWindowTitle(qs(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(qs(text));
    // A caret lines up with the character above it only when every character is equally wide.
    if (columns) {
        if (auto* label = box.findChild<QLabel*>("qt_msgbox_label")) label->setFont(fixed_font());
    }
    QPushButton* ok = box.addButton("OK", QMessageBox::AcceptRole);
    QAbstractButton* chosen_other =
        other.isEmpty() ? nullptr : box.addButton(other, QMessageBox::ActionRole);
    box.setDefaultButton(ok);
    fit_title(box);
    box.exec();
    return chosen_other && box.clickedButton() == chosen_other;
}

}  // namespace

void QtInteraction::note(const std::string& title, const std::string& text) {
    run_note(window_, title, text, false);
}

void QtInteraction::note_in_columns(const std::string& title, const std::string& text) {
    run_note(window_, title, text, true);
}

void QtInteraction::note_about(const std::string& title, const std::string& text,
                               const std::string& licence) {
    note(title, text + "\n" + licence);
}

void QtInteraction::note_syntax_error(const std::string& title, const std::string& text,
                                      const std::string& path, std::size_t line) {
    if (!run_note(window_, title, text, true, "&Edycja")) return;
    open_editor(path);
    if (EditWindow* editor = window_->raise_editor_of(path)) {
        editor->show_error_at(static_cast<int>(line));
    }
}

namespace {

// The buttons in the caller's order, each with an access letter, `default_button` (1-based) the
// default. Returns the 1-based button chosen, or nothing when the box was closed without a choice
// (Escape, its close button).
std::optional<int> run_question(QWidget* parent, const std::string& title, const std::string& text,
                                const std::vector<std::string>& buttons,
                                std::size_t default_button) {
    QMessageBox box(parent);
    box.setObjectName("ask");
    box.setWindowTitle(qs(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(qs(text));
    // One role for all buttons keeps them in the caller's order.
    std::vector<QAbstractButton*> added;
    QString taken;
    for (const auto& caption : buttons) {
        added.push_back(
            box.addButton(with_access_letter(qs(caption), taken), QMessageBox::AcceptRole));
    }
    if (added.empty()) added.push_back(box.addButton("OK", QMessageBox::AcceptRole));
    const std::size_t chosen_default = std::clamp<std::size_t>(default_button, 1, added.size());
    box.setDefaultButton(static_cast<QPushButton*>(added[chosen_default - 1]));
    // Escape and the close button press this hidden button: no choice was made.
    QPushButton* none = box.addButton(QMessageBox::Cancel);
    none->hide();
    box.setEscapeButton(none);
    fit_title(box);
    box.exec();
    for (std::size_t i = 0; i < added.size(); ++i) {
        if (box.clickedButton() == added[i]) return static_cast<int>(i) + 1;
    }
    return std::nullopt;
}

}  // namespace

int QtInteraction::ask(const std::string& title, const std::string& text,
                       const std::vector<std::string>& buttons) {
    // Closed without a choice: the last button.
    return run_question(window_, title, text, buttons, 1)
        .value_or(std::max<int>(1, static_cast<int>(buttons.size())));
}

std::optional<int> QtInteraction::ask_or_cancel(const std::string& title, const std::string& text,
                                                const std::vector<std::string>& buttons) {
    return run_question(window_, title, text, buttons, 1);
}

bool QtInteraction::confirm_deletion(const std::string& title, const std::string& text) {
    return run_question(window_, title, text, {"Tak", "Nie"}, 2) == 1;
}

bool QtInteraction::confirm(const std::string& title, const std::string& text) {
    QMessageBox box(window_);
    box.setObjectName("confirm");
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(qs(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(qs(text));
    auto* yes = box.addButton("&Tak", QMessageBox::YesRole);
    auto* no = box.addButton("&Nie", QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    fit_title(box);
    box.exec();
    return box.clickedButton() == yes;
}

namespace {

// The kind of base a dialog's filters offer; nothing for reports, descriptions and other files.
std::optional<BaseKind> base_kind_of_dialog(const std::vector<FileFilter>& filters) {
    for (const FileFilter& filter : filters) {
        if (const auto kind = base_kind_of_file(filter.pattern)) return kind;
    }
    return std::nullopt;
}

// A dialog of a kind of base starts in the folder last used for that kind, when there is one,
// and remembers the folder of the file chosen; any other starts in the current directory.
std::optional<std::string> run_remembering_folder(QWidget* parent, bool save,
                                                  const std::string& title,
                                                  const std::vector<FileFilter>& filters,
                                                  const std::string& start) {
    const auto kind = base_kind_of_dialog(filters);
    const QString folder = kind ? remembered_base_folder(*kind) : QString();
    auto chosen = run_file_dialog(parent, save, title, filters, start, folder);
    if (chosen && kind) remember_base_folder(*kind, *chosen);
    return chosen;
}

}  // namespace

std::optional<std::string> QtInteraction::choose_file_to_open(
    const std::string& title, const std::vector<FileFilter>& filters, const std::string& start) {
    return run_remembering_folder(window_, false, title, filters, start);
}

std::optional<std::string> QtInteraction::choose_file_to_save(
    const std::string& title, const std::vector<FileFilter>& filters, const std::string& start) {
    return run_remembering_folder(window_, true, title, filters, start);
}

std::optional<std::string> QtInteraction::enter_text(const std::string& title,
                                                     const std::string& prompt,
                                                     const std::string& default_text) {
    QInputDialog dialog(window_);
    dialog.setObjectName("enter_text");
    dialog.setWindowTitle(qs(title));
    dialog.setLabelText(qs(prompt));
    dialog.setTextValue(qs(default_text));
    dialog.setOkButtonText("&OK");
    dialog.setCancelButtonText("Anuluj");
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return utf8(dialog.textValue());
}

std::vector<int> QtInteraction::choose_from_list(const std::string& title,
                                                 const std::string& prompt,
                                                 const std::vector<std::string>& items,
                                                 bool multiple) {
    ListDialog dialog(*this, window_, title, prompt, items, multiple);
    dialog.exec_or_quit();
    return dialog.chosen();
}

std::optional<std::vector<int>> QtInteraction::choose_from_list_or_cancel(
    const std::string& title, const std::string& prompt, const std::vector<std::string>& items,
    bool multiple) {
    ListDialog dialog(*this, window_, title, prompt, items, multiple, true);
    if (dialog.exec_or_quit() != QDialog::Accepted) return std::nullopt;
    return dialog.chosen();
}

std::optional<std::string> QtInteraction::enter_value(const std::string& title,
                                                      const std::string& name) {
    ValueDialog dialog(*this, window_, title, name);
    if (dialog.exec_or_quit() != QDialog::Accepted) return std::nullopt;
    return dialog.value();
}

void QtInteraction::explain(const std::string& title, const std::vector<std::string>& lines) {
    ExplanationDialog dialog(*this, window_, title, lines);
    dialog.exec_or_quit();
}

int QtInteraction::choose_option(const RadioDialog& radio) {
    OptionDialog dialog(window_, radio);
    dialog.exec();
    return dialog.chosen();
}

void QtInteraction::show_text(const std::string& title, const std::string& text) {
    auto* window = new TextWindow(text, [this] { set_main_title("xamo_RD"); });
    window_->add_child(window, qs(title));
}

bool QtInteraction::open_document(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(qs(path)));
}

void QtInteraction::open_editor(const std::string& path) {
    // One editor per file: two would each save over what the other wrote.
    if (window_->raise_editor_of(path) != nullptr) return;
    EditSession session(*app_, path);
    const auto text = session.load();
    if (!text) return;
    auto* window = new EditWindow(std::move(session), *text);
    window_->add_child(window, window->windowTitle());
}

void QtInteraction::show_browse(const BrowseView& view) {
    auto* window = new BrowseWindow(view, [this] { app_->run_command(10153); });
    window_->add_child(window, qs(view.title));
}

void QtInteraction::set_main_title(const std::string& title) { window_->setWindowTitle(qs(title)); }

void QtInteraction::clear_messages() { window_->new_message_window(); }

void QtInteraction::write_message(const std::string& text) { window_->append_message(qs(text)); }

}  // namespace xamo
