#include "ui/qt/appearance.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTranslator>

#include "ui/qt/dialogs.h"
#include "ui/qt/settings.h"

namespace xamo {

bool install_polish_translations(QCoreApplication& app) {
    const QLocale polish(QLocale::Polish, QLocale::Poland);
    QLocale::setDefault(polish);
    auto* translator = new QTranslator(&app);
    if (!translator->load(polish, "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

namespace {

// Drawn on a 64-unit square and scaled, so every size has the same picture.
QPixmap icon_pixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(24, 78, 119));
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

    // Two conditions on the left, joined into one conclusion on the right.
    const QPointF first(17, 20);
    const QPointF second(17, 44);
    const QPointF conclusion(47, 32);
    QPen line(QColor(236, 240, 241), 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(line);
    painter.setBrush(Qt::NoBrush);
    QPainterPath paths;
    paths.moveTo(first);
    paths.cubicTo(30, 20, 30, 32, conclusion.x() - 8, conclusion.y());
    paths.moveTo(second);
    paths.cubicTo(30, 44, 30, 32, conclusion.x() - 8, conclusion.y());
    painter.drawPath(paths);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(236, 240, 241));
    painter.drawEllipse(first, 6.5, 6.5);
    painter.drawEllipse(second, 6.5, 6.5);
    painter.setBrush(QColor(243, 156, 18));
    painter.drawEllipse(conclusion, 9.5, 9.5);
    return pixmap;
}

// Widens every dialog, ours and Qt's (progress, input), to its title as it is shown: the
// frame cuts a longer title, and the title is often all that says what the dialog is for.
class DialogTitleFitter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* dialog = qobject_cast<QDialog*>(watched); dialog && dialog->isWindow()) {
                const int wanted = title_width(*dialog);
                if (dialog->minimumWidth() < wanted) dialog->setMinimumWidth(wanted);
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

QIcon program_icon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(icon_pixmap(size));
    return icon;
}

void prepare_application(QApplication& app) {
    install_polish_translations(app);
    app.installEventFilter(new DialogTitleFitter(&app));
    apply_text_size();
    QApplication::setWindowIcon(program_icon());
}

}  // namespace xamo
