#include "ui/qt/browse_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>

#include "ui/qt/dialogs.h"
#include "ui/qt/main_window.h"

namespace xamo {
namespace {

constexpr int kListUnits = 4;

QLabel* label(QWidget* parent, const std::string& text, const QString& name) {
    auto* widget = new QLabel(qs(text), parent);
    widget->setObjectName(name);
    widget->setAlignment(Qt::AlignLeft | Qt::AlignBottom);  // just above its field
    return widget;
}

QLineEdit* value_field(QWidget* parent, const QString& name) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    return field;
}

}  // namespace

BrowseWindow::BrowseWindow(BrowseView view, std::function<void()> help) : view_(std::move(view)) {
    setObjectName("browse_window");
    setWindowTitle(qs(view_.title));

    left_.push_back({label(this, view_.number_label, "number_label"), 1});
    numbers_ = new QListWidget(this);
    numbers_->setObjectName("numbers");
    for (const auto& item : view_.items) numbers_->addItem(QString::number(item.number));
    left_.push_back({numbers_, 3 * kListUnits});
    for (std::size_t i = 0; i < view_.counts.size(); ++i) {
        left_.push_back({label(this, view_.counts[i].label, QString("count_label_%1").arg(i)), 1});
        auto* count = value_field(this, QString("count_%1").arg(i));
        count->setText(QString::number(view_.counts[i].value));
        left_.push_back({count, 1});
    }

    if (!view_.heading.empty()) {
        auto* heading = label(this, view_.heading, "heading");
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        right_.push_back({heading, 1});
    }
    if (!view_.formula.empty()) right_.push_back({label(this, view_.formula, "formula"), 1});
    for (std::size_t i = 0; i < view_.fields.size(); ++i) {
        const auto& field = view_.fields[i];
        right_.push_back({label(this, field.label, QString("label_%1").arg(i)), 1});
        QWidget* widget = nullptr;
        if (field.multiline) {
            auto* list = new QListWidget(this);
            list->setObjectName(QString("field_%1").arg(i));
            widget = list;
        } else {
            widget = value_field(this, QString("field_%1").arg(i));
        }
        fields_.push_back(widget);
        right_.push_back({widget, field.multiline ? kListUnits : 1});
    }
    auto* buttons = new QWidget(this);
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    auto* close_button = new QPushButton("&Zamknij");
    close_button->setObjectName("close");
    auto* help_button = new QPushButton("&Pomoc");
    help_button->setObjectName("help");
    row->addWidget(close_button);
    row->addWidget(help_button);
    right_.push_back({buttons, 1});

    connect(numbers_, &QListWidget::currentRowChanged, this, &BrowseWindow::select);
    connect(close_button, &QPushButton::clicked, this, [this] { close_child_window(this); });
    connect(help_button, &QPushButton::clicked, this, [help = std::move(help)] {
        if (help) help();
    });
    for (const auto& part : left_) {
        if (auto* text = qobject_cast<QLabel*>(part.widget))
            left_labels_width_ = std::max(left_labels_width_, text->sizeHint().width());
    }
    if (numbers_->count() > 0) numbers_->setCurrentRow(0);
    resize(640, 480);
}

void BrowseWindow::select(int row) {
    if (row < 0 || row >= static_cast<int>(view_.items.size())) return;
    const auto& item = view_.items[static_cast<std::size_t>(row)];
    for (std::size_t i = 0; i < fields_.size() && i < item.values.size(); ++i) {
        const auto& lines = item.values[i];
        if (auto* list = qobject_cast<QListWidget*>(fields_[i])) {
            list->clear();
            for (const auto& line : lines) list->addItem(qs(line));
        } else if (auto* edit = qobject_cast<QLineEdit*>(fields_[i])) {
            edit->setText(lines.empty() ? QString() : qs(lines.front()));
            edit->setCursorPosition(0);
        }
    }
}

void BrowseWindow::place_column(const std::vector<Slot>& column, const QRect& area) {
    int total = 0;
    for (const auto& part : column) total += part.units;
    if (total == 0) return;
    const double unit = static_cast<double>(area.height()) / total;
    const int gap = std::max(1, static_cast<int>(unit / 8));
    double y = area.top();
    for (const auto& part : column) {
        const double height = unit * part.units;
        int shown = std::max(1, static_cast<int>(height) - gap);
        // One-line fields keep their natural height at the top of their share.
        if (part.units == 1 && !qobject_cast<QLabel*>(part.widget))
            shown = std::min(shown, part.widget->sizeHint().height());
        part.widget->setGeometry(area.left(), static_cast<int>(y), area.width(), shown);
        y += height;
    }
}

void BrowseWindow::resizeEvent(QResizeEvent* event) {
    const int w = event->size().width();
    const int h = event->size().height();
    const int margin_x = w / 40;
    const int margin_y = h / 40;
    const int inner_h = h - 2 * margin_y;
    const int left_w = std::max(w * 26 / 100, left_labels_width_);
    place_column(left_, QRect(margin_x, margin_y, left_w, inner_h));
    const int right_x = margin_x + left_w + w * 4 / 100;
    place_column(right_, QRect(right_x, margin_y, w - right_x - margin_x, inner_h));
    QWidget::resizeEvent(event);
}

}  // namespace xamo
