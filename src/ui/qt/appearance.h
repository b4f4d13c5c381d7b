// What the whole Qt application shares: Qt's own texts in Polish and the program's icon.
#pragma once

#include <QIcon>

class QApplication;
class QCoreApplication;

namespace xamo {

// Every text of the program is Polish, so Qt's own texts (file dialogs, context menus) are too,
// whatever the user's locale. False when Qt's Polish translations are not installed.
bool install_polish_translations(QCoreApplication& app);

// The program's icon, drawn here at the usual sizes: two conditions leading to a conclusion.
QIcon program_icon();

// Both of the above, and every dialog widened to its title; once at start (the program and its
// window tests).
void prepare_application(QApplication& app);

}  // namespace xamo
