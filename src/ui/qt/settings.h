// What the Qt front end remembers between sessions, through QSettings in the user's
// configuration directory: the size of text in every window and dialog, the main window's size
// and position, the recent rule bases and the folder last used for each kind of base. Zoom keys of
// the text views start from the remembered size.
#pragma once

#include <string>
#include <vector>

class QFont;
class QPlainTextEdit;
class QString;
class QWidget;

namespace xamo {

enum class BaseKind;

// The remembered text size in points; 0 while the user has not chosen one.
int remembered_text_size();
// Remembers `points` and applies it to the whole application at once.
void set_text_size(int points);
// Applies the remembered size (at start).
void apply_text_size();
// `font` at the remembered size, when one is set.
QFont sized(QFont font);

// Ctrl++ (and Ctrl+=), Ctrl+- and Ctrl+0 on `view`: larger, smaller, the remembered size.
void add_zoom_keys(QPlainTextEdit* view);

// The recently loaded rule bases, most recent first.
std::vector<std::string> remembered_recent_bases();
void remember_recent_bases(const std::vector<std::string>& paths);

// The folder of the base of `kind` last chosen in a file dialog; empty when none is remembered
// or the folder is gone.
QString remembered_base_folder(BaseKind kind);
void remember_base_folder(BaseKind kind, const std::string& chosen_file);

void remember_geometry(const QWidget& window);
// False when no geometry was remembered.
bool restore_geometry(QWidget& window);

}  // namespace xamo
