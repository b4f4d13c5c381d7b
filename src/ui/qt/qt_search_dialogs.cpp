// The dialogs of flattening and the rule-base diagnoses: the rule selection ("&OK", "&Cancel",
// "&Help") and the progress of a long search with "Przerwij".
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/qt/dialogs.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_interaction.h"

namespace xamo {

std::optional<int> QtInteraction::select_item(const std::string& title, const std::string& caption,
                                              const std::vector<std::string>& items) {
    QDialog dialog(window_);
    dialog.setObjectName("select_item");
    dialog.setWindowTitle(qs(title));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(qs(caption), &dialog));
    auto* list = new QListWidget(&dialog);
    list->setObjectName("items");
    for (const auto& item : items) list->addItem(qs(item));
    list->setCurrentRow(-1);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(&dialog);
    auto* ok = buttons->addButton("&OK", QDialogButtonBox::AcceptRole);
    buttons->addButton("&Cancel", QDialogButtonBox::RejectRole);
    auto* help = buttons->addButton("&Help", QDialogButtonBox::HelpRole);
    ok->setDefault(true);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    // Help opens the program's help file when it is there, as the help command does.
    QObject::connect(help, &QPushButton::clicked, &dialog, [this] {
        if (QFileInfo::exists("xamo_RD.chm"))
            open_document(utf8(QFileInfo("xamo_RD.chm").absoluteFilePath()));
    });
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const auto selected = list->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    return list->row(selected.front());
}

void QtInteraction::begin_progress(const std::string& title, const std::string& text) {
    end_progress();
    progress_ = new QProgressDialog(qs(text), "Przerwij", 0, 0, window_);
    progress_->setObjectName("search_progress");
    progress_->setWindowTitle(qs(title));
    progress_->setWindowModality(Qt::ApplicationModal);
    progress_->setMinimumDuration(0);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    progress_->show();
    QApplication::processEvents();
}

bool QtInteraction::progress_continues() {
    if (!progress_) return true;
    // The dialog is modal, so the events processed here cannot start another command.
    QApplication::processEvents();
    return !progress_->wasCanceled();
}

void QtInteraction::end_progress() {
    if (!progress_) return;
    progress_->close();
    delete progress_;
    progress_ = nullptr;
}

}  // namespace xamo
