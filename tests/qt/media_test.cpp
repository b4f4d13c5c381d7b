// Pictures and sounds in the window: the picture window and dialog draw the picture stretched,
// and a wave file is played through SDL to its end (here into SDL's disk driver).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "app/application.h"
#include "support/temp_dir.h"
#include "ui/qt/main_window.h"
#include "ui/qt/media_windows.h"
#include "ui/qt/qt_interaction.h"
#include "ui/qt/sound_player.h"

namespace xamo {
namespace {

void flush() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

// Acts on the modal dialog named `name` once it is open; closes whatever is modal after about
// two seconds, so a failing test cannot hang.
void when_modal(const QString& name, std::function<void(QWidget*)> act, int tries = 200) {
    QTimer::singleShot(10, [name, act, tries] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == name) {
            act(modal);
        } else if (tries > 0) {
            when_modal(name, act, tries - 1);
        } else {
            ADD_FAILURE() << "no dialog " << name.toStdString();
            if (modal) modal->close();
        }
    });
}

// Finds the button by its caption; an access letter's "&" does not count.
void press(QWidget* dialog, const QString& caption) {
    const QString wanted = QString(caption).remove('&');
    for (auto* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->text().remove('&') == wanted) {
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << caption.toStdString();
    dialog->close();
}

// A picture with a red left half and a blue right half, saved as `format`.
std::string two_colour_picture(const testing::TempDir& dir, const std::string& name,
                               const char* format) {
    QImage image(8, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) image.setPixelColor(x, y, Qt::red);
    }
    const std::string path = dir.file(name);
    EXPECT_TRUE(image.save(QString::fromStdString(path), format));
    return path;
}

class Pictures : public ::testing::Test {
  protected:
    Pictures() {
        window.resize(1000, 700);
        window.show();
        flush();
    }

    testing::TempDir dir;
    QtInteraction ui;
    Application app{ui};
    MainWindow window{app, ui};
};

TEST_F(Pictures, WindowDrawsThePictureStretchedAndAsksBeforeClosing) {
    const std::string path = two_colour_picture(dir, "obraz.bmp", "BMP");
    ui.show_picture("obraz.bmp", path);
    flush();
    auto* picture = window.findChild<PictureWindow*>();
    ASSERT_NE(picture, nullptr);
    auto* frame = qobject_cast<QMdiSubWindow*>(picture->parentWidget());
    ASSERT_NE(frame, nullptr);
    frame->resize(420, 300);
    flush();
    const QImage drawn = picture->grab().toImage();
    ASSERT_GT(drawn.width(), 100);
    // Stretched over the whole window: red on the left edge, blue on the right, at any height.
    EXPECT_EQ(drawn.pixelColor(2, drawn.height() - 3), QColor(Qt::red));
    EXPECT_EQ(drawn.pixelColor(drawn.width() / 2 - 5, 2), QColor(Qt::red));
    EXPECT_EQ(drawn.pixelColor(drawn.width() / 2 + 5, drawn.height() / 2), QColor(Qt::blue));
    EXPECT_EQ(drawn.pixelColor(drawn.width() - 3, drawn.height() - 3), QColor(Qt::blue));
    flush();
    EXPECT_TRUE(
        window.grab().save(QString(XAMO_SCREENSHOT_DIR) + "/screenshot_picture.png", "PNG"));

    // "Nie" keeps the window; a click on the picture closes it without a question.
    when_modal("confirm", [](QWidget* question) { press(question, "Nie"); });
    frame->close();
    flush();
    ASSERT_EQ(window.findChild<PictureWindow*>(), picture);
    auto* view = picture->findChild<PictureView*>("picture");
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->on_click);
    view->on_click();
    flush();
    EXPECT_EQ(window.findChild<PictureWindow*>(), nullptr);
}

TEST_F(Pictures, DialogShowsPngAndRefusesBrokenFiles) {
    const std::string png = two_colour_picture(dir, "obraz.png", "PNG");
    QImage drawn;
    when_modal("picture_dialog", [&drawn](QWidget* dialog) {
        auto* view = dialog->findChild<PictureView*>("picture");
        if (view) drawn = view->grab().toImage();
        press(dialog, "&Zamknij");
    });
    EXPECT_TRUE(ui.show_picture_dialog(png));
    ASSERT_FALSE(drawn.isNull());
    EXPECT_EQ(drawn.pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(drawn.pixelColor(drawn.width() - 2, drawn.height() - 2), QColor(Qt::blue));

    // Missing, truncated and hostile files open nothing.
    const std::string whole = dir.read("obraz.png");
    const std::string cut = dir.write("cut.png", whole.substr(0, whole.size() / 2));
    // A bitmap 1 pixel wide and INT32_MIN high.
    std::string hostile = "BM" + std::string(56, '\0');
    hostile[10] = 54;  // pixels after the headers
    hostile[14] = 40;  // an info header
    hostile[18] = 1;
    hostile[25] = static_cast<char>(0x80);
    hostile[28] = 24;
    const std::string bad = dir.write("zly.bmp", hostile);
    EXPECT_FALSE(ui.show_picture_dialog(dir.file("brak.bmp")));
    EXPECT_FALSE(ui.show_picture_dialog(cut));
    EXPECT_FALSE(ui.show_picture_dialog(bad));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(Pictures, ReadingAndChoosingDialogs) {
    QString heading;
    QString text;
    const auto read = [&heading, &text](QWidget* dialog) {
        if (auto* label = dialog->findChild<QLabel*>("heading")) heading = label->text();
        if (auto* field = dialog->findChild<QLineEdit*>("heading")) heading = field->text();
        if (auto* view = dialog->findChild<QPlainTextEdit*>("text")) text = view->toPlainText();
        press(dialog, "&Kontynuuj");
    };
    when_modal("advice", read);
    ui.show_advice("Pij dużo.\r\nŚpij.");
    EXPECT_EQ(heading, QString::fromUtf8("Rada eksperta:"));
    EXPECT_EQ(text, QString::fromUtf8("Pij dużo.\nŚpij."));
    when_modal("description", read);
    ui.show_description("Czytanie opisu bazy: GRYPA", "Opis.");
    EXPECT_EQ(heading, "Czytanie opisu bazy: GRYPA");
    EXPECT_EQ(text, "Opis.");

    const DropDownDialog choice{"Obejrzenie pliku graficznego",
                                "Baza grafiki:",
                                "GRgrypa.BRD",
                                "Wybierz nazwę pliku graficznego, który chcesz zobaczyć:",
                                {"grypa", "katar"}};
    when_modal("dropdown", [](QWidget* dialog) {
        dialog->findChild<QComboBox*>("items")->setCurrentIndex(1);
        press(dialog, "&OK");
    });
    EXPECT_EQ(ui.choose_from_dropdown(choice), 1);
    when_modal("dropdown", [](QWidget* dialog) { dialog->close(); });
    EXPECT_EQ(ui.choose_from_dropdown(choice), std::nullopt);
}

// --- sound ----------------------------------------------------------------------------------

std::string le(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return out;
}

// 0.8 s of a 440 Hz tone, 16-bit stereo at 22050 Hz: several of the device's buffers, so a
// player that returned early would cut it short. No sample is zero, so the samples stand out
// from the silence around them.
std::string tone_samples() {
    std::string data;
    const int frames = 22050 * 8 / 10;
    for (int i = 0; i < frames; ++i) {
        const double s = std::sin(2 * M_PI * 440 * i / 22050.0);
        const auto left = static_cast<std::int16_t>(s * 12000 + (s >= 0 ? 700 : -700));
        const auto right = static_cast<std::int16_t>(-left / 2 + (left > 0 ? -300 : 300));
        data += le(static_cast<std::uint16_t>(left), 2) + le(static_cast<std::uint16_t>(right), 2);
    }
    return data;
}

std::string wave_file(const std::string& data) {
    const std::string format =
        le(1, 2) + le(2, 2) + le(22050, 4) + le(22050 * 4, 4) + le(4, 2) + le(16, 2);
    return "RIFF" + le(static_cast<std::uint32_t>(36 + data.size()), 4) + "WAVE" + "fmt " +
           le(16, 4) + format + "data" + le(static_cast<std::uint32_t>(data.size()), 4) + data;
}

// Sets an environment variable for one test.
struct Environment {
    Environment(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) previous_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~Environment() {
        if (previous_)
            ::setenv(name_, previous_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    const char* name_;
    std::optional<std::string> previous_;
};

TEST(Sound, PlaysTheWholeFileBeforeReturning) {
    testing::TempDir dir;
    const std::string samples = tone_samples();
    const std::string wav = dir.write("ton.wav", wave_file(samples));
    const std::string written = dir.file("zapis.raw");
    Environment driver("SDL_AUDIODRIVER", "disk");
    Environment file("SDL_DISKAUDIOFILE", written);

    int repaints = 0;
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(play_wave_file(wav, [&repaints] { ++repaints; }));
    // The disk driver takes its buffers at the pace of real playback.
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(600));
    EXPECT_GT(repaints, 0);
    // The device writes silence while it waits, then every sample of the file in order, then
    // silence again: the samples appear whole, with nothing but zeros around them.
    const std::string out = dir.read("zapis.raw");
    const auto start = out.find_first_not_of('\0');
    ASSERT_NE(start, std::string::npos);
    ASSERT_EQ(start % 4, 0u) << "the samples start inside a frame";
    ASSERT_GE(out.size(), start + samples.size());
    EXPECT_TRUE(out.compare(start, samples.size(), samples) == 0)
        << "the samples written differ from the file's";
    EXPECT_EQ(out.find_first_not_of('\0', start + samples.size()), std::string::npos);
}

TEST(Sound, BrokenFilesAreRefusedWithoutPlaying) {
    testing::TempDir dir;
    Environment driver("SDL_AUDIODRIVER", "disk");
    Environment file("SDL_DISKAUDIOFILE", dir.file("zapis.raw"));
    const std::string whole = wave_file(tone_samples());
    const std::string header_only = dir.write("naglowek.wav", whole.substr(0, 30));
    std::string zero_channels = whole;
    zero_channels[22] = 0;
    const std::string no_channels = dir.write("kanaly.wav", zero_channels);
    const std::string text = dir.write("tekst.wav", "to nie jest dźwięk");
    for (const auto& path : {dir.file("brak.wav"), header_only, no_channels, text}) {
        std::string why;
        EXPECT_FALSE(play_wave_file(path, {}, &why)) << path;
        EXPECT_NE(why.find("WAV"), std::string::npos) << path << ": " << why;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("zapis.raw")));
}

// Without an audio device the sound is refused and the reason says so.
TEST(Sound, NoAudioDeviceIsNamedAsTheReason) {
    testing::TempDir dir;
    Environment driver("SDL_AUDIODRIVER", "brak_takiego_sterownika");
    const std::string wav = dir.write("ton.wav", wave_file(tone_samples()));
    std::string why;
    EXPECT_FALSE(play_wave_file(wav, {}, &why));
    EXPECT_EQ(why.rfind("brak urządzenia dźwiękowego", 0), 0u) << why;
}

}  // namespace
}  // namespace xamo
