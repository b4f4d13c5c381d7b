#include "ui/qt/settings.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QSettings>
#include <algorithm>

#include "app/recent_bases.h"
#include "ui/qt/text_window.h"

namespace xamo {
namespace {

constexpr const char* kTextSize = "tekst/wielkosc";
constexpr const char* kGeometry = "okno/geometria";
constexpr const char* kRecentBases = "bazy/ostatnie";
constexpr int kSmallest = 6;
constexpr int kLargest = 72;

QSettings settings() { return QSettings("xamo", "xamo_RD"); }

QString folder_key(BaseKind kind) {
    static const std::pair<BaseKind, const char*> kKeys[] = {
        {BaseKind::Rules, "foldery/RE"},       {BaseKind::Models, "foldery/MO"},
        {BaseKind::Constraints, "foldery/OG"}, {BaseKind::Advice, "foldery/RA"},
        {BaseKind::Graphics, "foldery/GR"},    {BaseKind::Sounds, "foldery/DZ"}};
    for (const auto& [known, key] : kKeys) {
        if (known == kind) return key;
    }
    return {};
}

}  // namespace

int remembered_text_size() {
    const int points = settings().value(kTextSize, 0).toInt();
    return points >= kSmallest && points <= kLargest ? points : 0;
}

QFont sized(QFont font) {
    if (const int points = remembered_text_size()) font.setPointSize(points);
    return font;
}

void apply_text_size() {
    if (remembered_text_size() == 0) return;
    QApplication::setFont(sized(QApplication::font()));
    // Fixed-pitch views set their own font: follow them too.
    for (QWidget* top : QApplication::topLevelWidgets()) {
        for (auto* view : top->findChildren<QPlainTextEdit*>()) view->setFont(fixed_font());
    }
}

void set_text_size(int points) {
    settings().setValue(kTextSize, std::clamp(points, kSmallest, kLargest));
    apply_text_size();
}

void add_zoom_keys(QPlainTextEdit* view) {
    auto add = [view](QList<QKeySequence> keys, auto act) {
        auto* action = new QAction(view);
        action->setShortcuts(keys);
        // The keys belong to the view with the focus: several text windows may be open.
        action->setShortcutContext(Qt::WidgetShortcut);
        QObject::connect(action, &QAction::triggered, view, act);
        view->addAction(action);
    };
    add({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
        [view] { view->zoomIn(1); });
    add({QKeySequence(Qt::CTRL | Qt::Key_Minus)}, [view] {
        if (view->font().pointSize() > kSmallest) view->zoomOut(1);
    });
    add({QKeySequence(Qt::CTRL | Qt::Key_0)}, [view] { view->setFont(fixed_font()); });
}

std::vector<std::string> remembered_recent_bases() {
    std::vector<std::string> paths;
    for (const QString& path : settings().value(kRecentBases).toStringList())
        paths.push_back(path.toStdString());
    return paths;
}

void remember_recent_bases(const std::vector<std::string>& paths) {
    QStringList list;
    for (const auto& path : paths) list << QString::fromStdString(path);
    settings().setValue(kRecentBases, list);
}

QString remembered_base_folder(BaseKind kind) {
    const QString folder = settings().value(folder_key(kind)).toString();
    return !folder.isEmpty() && QDir(folder).exists() ? folder : QString();
}

void remember_base_folder(BaseKind kind, const std::string& chosen_file) {
    settings().setValue(folder_key(kind),
                        QFileInfo(QString::fromStdString(chosen_file)).absolutePath());
}

void remember_geometry(const QWidget& window) {
    settings().setValue(kGeometry, window.saveGeometry());
}

bool restore_geometry(QWidget& window) {
    const QByteArray geometry = settings().value(kGeometry).toByteArray();
    return !geometry.isEmpty() && window.restoreGeometry(geometry);
}

}  // namespace xamo
