// The media dialogs and windows of the Qt interaction: pictures, sounds, advice, descriptions and
// the drop-down choice of a media file.
#include <QApplication>

#include "ui/qt/dialogs.h"
#include "ui/qt/main_window.h"
#include "ui/qt/media_windows.h"
#include "ui/qt/qt_interaction.h"
#include "ui/qt/sound_player.h"

namespace xamo {

std::optional<int> QtInteraction::choose_from_dropdown(const DropDownDialog& dialog) {
    if (dialog.items.empty()) return std::nullopt;
    DropDownChoiceDialog box(window_, dialog);
    if (box.exec() != QDialog::Accepted || box.chosen() < 0) return std::nullopt;
    return box.chosen();
}

void QtInteraction::show_picture(const std::string& title, const std::string& path) {
    const auto image = load_picture(path);
    if (!image) {
        note("Uwaga błąd!", "Nie można wyświetlić pliku graficznego " + path + ".");
        return;
    }
    auto* window = new PictureWindow(*image, [this] {
        return confirm("Wybierz:",
                       "Czy chcesz zamknąć okno z wyświetloną grafiką?\n\nUwaga!\nOkno te można "
                       "również zamknąć poprzez kliknięcie na obrazek.");
    });
    window_->add_child(window, qs(title));
}

bool QtInteraction::show_picture_dialog(const std::string& path) {
    const auto image = load_picture(path);
    if (!image) return false;
    PictureDialog dialog(window_, *image);
    dialog.exec();
    return true;
}

bool QtInteraction::play_sound(const std::string& path) {
    // Repaints go on while the sound plays; the user's input waits until it ends.
    why_sound_failed_.clear();
    return play_wave_file(
        path, [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); },
        &why_sound_failed_);
}

void QtInteraction::show_advice(const std::string& text) {
    ReadingDialog dialog(window_, "Czytanie rady", "Rada eksperta:", false, text);
    dialog.setObjectName("advice");
    dialog.exec();
}

void QtInteraction::show_description(const std::string& heading, const std::string& text) {
    ReadingDialog dialog(window_, "Czytanie opisu", heading, true, text);
    dialog.setObjectName("description");
    dialog.exec();
}

}  // namespace xamo
