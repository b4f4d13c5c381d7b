#include "ui/qt/dialogs.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace xamo {

QString qs(const std::string& utf8) { return QString::fromStdString(utf8); }

std::string utf8(const QString& text) { return text.toStdString(); }

namespace {

QPushButton* add_button(QHBoxLayout* row, const QString& caption, const char* name) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    button->setAutoDefault(false);
    row->addWidget(button);
    return button;
}

QLineEdit* read_only_line(const std::string& text, const char* name) {
    auto* line = new QLineEdit(qs(text));
    line->setObjectName(name);
    line->setReadOnly(true);
    line->setCursorPosition(0);
    return line;
}

// A one-line read-only field above a list box that takes the rest of the height, so both scale
// with the dialog.
QListWidget* add_field_and_list(QVBoxLayout* layout, const std::string& text,
                                const char* field_name, const std::vector<std::string>& items,
                                const char* list_name) {
    layout->addWidget(read_only_line(text, field_name));
    auto* list = new QListWidget;
    list->setObjectName(list_name);
    for (const auto& item : items) list->addItem(qs(item));
    layout->addWidget(list, 1);
    return list;
}

}  // namespace

int title_width(const QWidget& window) {
    // The frame's title font is the window manager's: a bold font of ours stands in for it, with
    // room for the frame's icon and its three buttons.
    constexpr int kFrameExtras = 140;
    QFont title_font = window.font();
    title_font.setBold(true);
    return QFontMetrics(title_font).horizontalAdvance(window.windowTitle()) + kFrameExtras;
}

QString with_access_letter(const QString& caption, QString& taken) {
    const auto marked = caption.indexOf('&');
    if (marked >= 0 && marked + 1 < caption.size()) {
        taken += caption[marked + 1].toLower();
        return caption;
    }
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar letter = caption[i].toLower();
        if (letter.isLetter() && !taken.contains(letter)) {
            taken += letter;
            return caption.left(i) + '&' + caption.mid(i);
        }
    }
    return caption;
}

void fit_title(QMessageBox& box) {
    const int wanted = title_width(box);
    // A message box sizes itself to its text; a spacer across its grid widens it.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

// --- QuitDialog -------------------------------------------------------------------------------

QuitDialog::QuitDialog(UserInteraction& ui, QWidget* parent) : QDialog(parent), ui_(ui) {}

void QuitDialog::finish() {
    if (!ui_.confirm_quit()) return;
    quit_requested_ = true;
    reject();
}

void QuitDialog::add_buttons(QVBoxLayout* layout, const QString& go_on_caption, const char* name,
                             bool cancellable) {
    auto* row = new QHBoxLayout;
    auto* go_on = add_button(row, go_on_caption, name);
    go_on->setDefault(true);
    auto* finish_button = add_button(row, "Zakończ", "finish");
    if (cancellable)
        connect(add_button(row, "Anuluj", "cancel"), &QPushButton::clicked, this, &QDialog::reject);
    layout->addLayout(row);
    connect(go_on, &QPushButton::clicked, this, &QDialog::accept);
    connect(finish_button, &QPushButton::clicked, this, &QuitDialog::finish);
}

int QuitDialog::exec_or_quit() {
    const int result = exec();
    if (quit_requested_) throw QuitRequested();
    return result;
}

// --- ListDialog --------------------------------------------------------------------------------

ListDialog::ListDialog(UserInteraction& ui, QWidget* parent, const std::string& title,
                       const std::string& prompt, const std::vector<std::string>& items,
                       bool multiple, bool cancellable)
    : QuitDialog(ui, parent) {
    setObjectName("list");
    setWindowTitle(qs(title));
    auto* layout = new QVBoxLayout(this);
    list_ = add_field_and_list(layout, prompt, "prompt", items, "items");
    list_->setSelectionMode(multiple ? QAbstractItemView::MultiSelection
                                     : QAbstractItemView::SingleSelection);
    if (!multiple && list_->count() > 0) list_->setCurrentRow(0);
    add_buttons(layout, "&Kontynuuj", "continue", cancellable);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this, multiple] {
        if (!multiple) accept();
    });
    resize(420, 320);
}

std::vector<int> ListDialog::chosen() const {
    std::vector<int> rows;
    for (int i = 0; i < list_->count(); ++i) {
        if (list_->item(i)->isSelected()) rows.push_back(i);
    }
    return rows;
}

// --- ExplanationDialog -------------------------------------------------------------------------

ExplanationDialog::ExplanationDialog(UserInteraction& ui, QWidget* parent, const std::string& title,
                                     const std::vector<std::string>& lines)
    : QuitDialog(ui, parent) {
    setObjectName("explanation");
    setWindowTitle("Wnioskowanie");
    auto* layout = new QVBoxLayout(this);
    add_field_and_list(layout, title, "title", lines, "lines");
    add_buttons(layout, "&Kontynuuj", "continue");
    resize(560, 360);
}

// --- ValueDialog -------------------------------------------------------------------------------

ValueDialog::ValueDialog(UserInteraction& ui, QWidget* parent, const std::string& title,
                         const std::string& name)
    : QuitDialog(ui, parent) {
    setObjectName("value");
    setWindowTitle(title.empty() ? QString("Określ wartość argumentu") : qs(title));
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QHBoxLayout;
    fields->addWidget(read_only_line(name, "name"), 1);
    fields->addWidget(new QLabel("="));
    value_ = new QLineEdit;
    value_->setObjectName("value");
    fields->addWidget(value_, 1);
    layout->addLayout(fields);
    add_buttons(layout, "&OK", "ok");
    value_->setFocus();
}

std::string ValueDialog::value() const { return utf8(value_->text()); }

// --- OptionDialog ------------------------------------------------------------------------------

OptionDialog::OptionDialog(QWidget* parent, const RadioDialog& dialog) : QDialog(parent) {
    setObjectName("option");
    setWindowTitle(qs(dialog.title));
    auto* layout = new QVBoxLayout(this);
    if (!dialog.prompt.empty()) layout->addWidget(new QLabel(qs(dialog.prompt)));
    group_ = new QButtonGroup(this);
    for (std::size_t i = 0; i < dialog.options.size(); ++i) {
        auto* radio = new QRadioButton(qs(dialog.options[i]));
        const int id = static_cast<int>(i) + 1;
        radio->setObjectName(QString("option%1").arg(id));
        radio->setChecked(id == dialog.preselected);
        group_->addButton(radio, id);
        layout->addWidget(radio);
    }
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* ok = add_button(row, "&OK", "ok");
    ok->setDefault(true);
    layout->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

int OptionDialog::chosen() const { return group_->checkedId() > 0 ? group_->checkedId() : 1; }

// --- file dialogs ------------------------------------------------------------------------------

namespace {

QRegularExpression mask_expression(const std::string& mask) {
    const QString pattern = mask == "*.*" ? QString("*") : qs(mask);
    return QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern),
                              QRegularExpression::CaseInsensitiveOption);
}

bool has_wildcard(const std::string& text) { return text.find_first_of("*?") != std::string::npos; }

// The extension a mask asks for ("RE*.BRD" -> "BRD"); none for "*.*" or a mask without one.
QString extension_of(const std::string& mask) {
    const auto dot = mask.rfind('.');
    if (dot == std::string::npos) return {};
    const std::string extension = mask.substr(dot + 1);
    if (extension.empty() || has_wildcard(extension)) return {};
    return qs(extension);
}

// Filters the files of the dialog by the chosen mask; directories always pass.
class MaskProxy : public QSortFilterProxyModel {
  public:
    void set_mask(const std::string& mask) {
        mask_ = mask_expression(mask);
        invalidateFilter();
    }
    bool matches(const QString& name) const { return mask_.match(name).hasMatch(); }

  protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (!files) return true;
        const QModelIndex index = files->index(row, 0, parent);
        if (files->isDir(index)) return true;
        return matches(files->fileName(index));
    }

  private:
    QRegularExpression mask_;
};

}  // namespace

bool mask_matches(const std::string& mask, const QString& name) {
    return mask_expression(mask).match(name).hasMatch();
}

std::optional<std::string> run_file_dialog(QWidget* parent, bool save, const std::string& title,
                                           const std::vector<FileFilter>& filters,
                                           const std::string& start, const QString& folder) {
    std::vector<FileFilter> shown = filters;
    int selected = 0;
    if (has_wildcard(start)) {
        const QString wanted = qs(start);
        auto same = [&](const FileFilter& f) {
            return qs(f.pattern).compare(wanted, Qt::CaseInsensitive) == 0;
        };
        auto it = std::find_if(shown.begin(), shown.end(), same);
        if (it == shown.end()) {
            shown.insert(shown.begin(), FileFilter{start, start});
        } else {
            selected = static_cast<int>(it - shown.begin());
        }
    }
    if (shown.empty()) shown.push_back({"*.*", "*.*"});

    QFileDialog dialog(parent, qs(title), folder.isEmpty() ? QDir::currentPath() : folder);
    dialog.setObjectName(save ? "save_file" : "open_file");
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The dialog's own filter passes everything; the proxy applies our case-insensitive mask.
    QStringList names;
    for (const auto& filter : shown) names << qs(filter.description) + " (*)";
    dialog.setNameFilters(names);
    auto* proxy = new MaskProxy;
    dialog.setProxyModel(proxy);
    // A name typed without an extension gets the chosen filter's, so that the file is listed
    // under that mask again ("REpusta" is saved as "REpusta.BRD").
    auto use_filter = [&](std::size_t index) {
        proxy->set_mask(shown[index].pattern);
        if (save) dialog.setDefaultSuffix(extension_of(shown[index].pattern));
    };
    use_filter(static_cast<std::size_t>(selected));
    dialog.selectNameFilter(names[selected]);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& name) {
        const auto index = names.indexOf(name);
        if (index >= 0) use_filter(static_cast<std::size_t>(index));
    });
    if (!start.empty() && !has_wildcard(start)) dialog.selectFile(qs(start));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return utf8(QFileInfo(dialog.selectedFiles().first()).absoluteFilePath());
}

}  // namespace xamo
