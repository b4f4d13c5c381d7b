// What the Qt front end remembers between sessions, through QSettings in the user's
// configuration directory: the size of text in every window and dialog, and the main window's
// size and position. Zoom keys of the text views start from the remembered size.
#pragma once

#include <string>
#include <vector>

class QFont;
class QPlainTextEdit;
class QWidget;

namespace xamo {

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

void remember_geometry(const QWidget& window);
// False when no geometry was remembered.
bool restore_geometry(QWidget& window);

}  // namespace xamo
