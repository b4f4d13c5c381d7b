#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "app/application.h"
#include "support/temp_dir.h"
#include "ui/qt/browse_window.h"
#include "ui/qt/dialogs.h"
#include "ui/qt/edit_window.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_interaction.h"

namespace xamo {
namespace {

namespace fs = std::filesystem;

// Waits (without blocking the modal loop) for the modal dialog named `name`, then acts on it.
// Gives up after about two seconds and closes whatever is modal, so a failing test cannot hang.
void when_dialog(const QString& name, std::function<void(QWidget*)> act, int tries = 200) {
    QTimer::singleShot(10, [name, act, tries] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == name) {
            act(modal);
        } else if (tries > 0) {
            when_dialog(name, act, tries - 1);
        } else {
            ADD_FAILURE() << "no dialog " << name.toStdString();
            if (modal) modal->close();
        }
    });
}

void click(QWidget* dialog, const QString& caption) {
    for (auto* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->text() == caption) {
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << caption.toStdString();
    dialog->close();
}

// Answers the dialog `name` with the button `caption`, remembering the dialog's text.
void answer(const QString& name, const QString& caption, QString* text = nullptr) {
    when_dialog(name, [caption, text](QWidget* dialog) {
        if (text) {
            for (auto* label : dialog->findChildren<QLabel*>()) *text += label->text();
        }
        click(dialog, caption);
    });
}

// Answers dialogs one after another, each once the previous one has been answered.
void answer_in_turn(std::vector<std::pair<QString, QString>> dialogs) {
    if (dialogs.empty()) return;
    const auto [name, caption] = dialogs.front();
    dialogs.erase(dialogs.begin());
    when_dialog(name, [caption, dialogs](QWidget* dialog) {
        answer_in_turn(dialogs);
        click(dialog, caption);
    });
}

void flush_events() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

// Runs in a fresh directory, which is the program's current directory.
struct WorkDirectory : testing::TempDir {
    WorkDirectory() : previous(fs::current_path()) { fs::current_path(path()); }
    ~WorkDirectory() { fs::current_path(previous); }
    fs::path previous;
};

class Gui : public ::testing::Test {
  protected:
    Gui() {
        window.resize(1000, 700);
        window.show();
        flush_events();
    }

    QAction* command(int id) { return window.action(id); }

    void close_introduction() {
        auto* introduction = window.findChild<IntroductionWindow*>();
        ASSERT_NE(introduction, nullptr);
        close_child_window(introduction);
        flush_events();
    }

    // Loads the example's rule base through the menu, answering the file dialog and the note.
    void load_example_rules() {
        fs::copy_file(fs::path(XAMO_EXAMPLES_DIR) / "BAZY" / "REogrzewanie.BRD",
                      directory.path() / "REogrzewanie.BRD");
        const QString path = QString::fromStdString(directory.file("REogrzewanie.BRD"));
        when_dialog("open_file", [path](QWidget* dialog) {
            // The "loaded" note, then the three diagnoses offered, declined.
            answer_in_turn(
                {{"note", "OK"}, {"confirm", "Nie"}, {"confirm", "Nie"}, {"confirm", "Nie"}});
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        command(10058)->trigger();
        flush_events();
    }

    void save_screenshot(QWidget* widget, const char* name) {
        flush_events();
        const QString path = QString(XAMO_SCREENSHOT_DIR) + "/" + name;
        EXPECT_TRUE(widget->grab().save(path, "PNG")) << path.toStdString();
    }

    WorkDirectory directory;
    QtInteraction ui;
    Application app{ui};
    MainWindow window{app, ui};
};

TEST_F(Gui, MenuIsDisabledUntilTheIntroductionClosesAndFollowsTheCommandTable) {
    for (const auto& info : app.commands().commands()) {
        ASSERT_NE(command(info.id), nullptr) << info.id;
        EXPECT_FALSE(command(info.id)->isEnabled()) << info.id;
    }
    EXPECT_EQ(window.windowTitle().toStdString(), kStartTitle);

    // The introduction draws main_rd.bmp of the current directory over its whole area.
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save("main_rd.bmp", "BMP"));
    auto* introduction = window.findChild<IntroductionWindow*>();
    const QImage drawn = introduction->grab().toImage();
    EXPECT_EQ(drawn.pixelColor(drawn.width() - 2, drawn.height() - 2), QColor(Qt::red));
    close_introduction();
    EXPECT_TRUE(command(10058)->isEnabled());
    EXPECT_TRUE(command(10150)->isEnabled());  // the submenu '&Ustawienia'
    EXPECT_FALSE(command(10127)->isEnabled());
    EXPECT_FALSE(command(10071)->isEnabled());
    EXPECT_TRUE(window.findChild<QPlainTextEdit*>("messages")->isVisible());

    load_example_rules();
    EXPECT_FALSE(app.store().all(Kind::regula).empty());
    EXPECT_TRUE(command(10071)->isEnabled());
    EXPECT_TRUE(command(10127)->isEnabled());
}

TEST_F(Gui, QuitAnsweredNoKeepsTheProgramAndItsBases) {
    close_introduction();
    load_example_rules();
    const auto rules = app.store().all(Kind::regula);
    ASSERT_FALSE(rules.empty());
    QString question;
    answer("confirm", "Nie", &question);
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(question.contains("Czy na pewno chcesz zakończyć program ?"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(app.store().all(Kind::regula), rules);
    EXPECT_FALSE(app.finished());

    answer("confirm", "Tak");
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(app.finished());
}

TEST_F(Gui, MessageWindowKeepsTheLastHundredLines) {
    close_introduction();
    for (int i = 0; i < 150; ++i) {
        ui.write("wiersz ");
        ui.write_integer(i);
        ui.new_line();
    }
    const QStringList lines = window.findChild<QPlainTextEdit*>("messages")
                                  ->toPlainText()
                                  .split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 100);
    EXPECT_EQ(lines.front(), "wiersz 50");
    EXPECT_EQ(lines.back(), "wiersz 149");
}

TEST_F(Gui, ListDialogStaysOnNoAndEndsTheProgramOnYes) {
    when_dialog("list", [](QWidget* dialog) {
        answer("confirm", "Nie");
        click(dialog, "Zakończ");
        // Still open after "Nie": choose the second item and go on.
        when_dialog("list", [](QWidget* again) {
            again->findChild<QListWidget*>("items")->setCurrentRow(1);
            click(again, "&Kontynuuj");
        });
    });
    EXPECT_EQ(ui.choose_from_list("Wybierz fakt", "Fakty:", {"a", "b", "c"}, false),
              std::vector<int>{1});

    when_dialog("list", [](QWidget* dialog) {
        answer("confirm", "Tak");
        click(dialog, "Zakończ");
    });
    EXPECT_THROW(ui.choose_from_list("Wybierz fakt", "Fakty:", {"a"}, false), QuitRequested);

    when_dialog("ask", [](QWidget* dialog) { dialog->close(); });
    EXPECT_EQ(ui.ask("Pytanie", "Czy?", {"&Tak", "&Nie", "&Dlaczego?"}), 3);
}

TEST_F(Gui, RuleSelectionReturnsTheSelectedItemOrNothing) {
    when_dialog("select_item", [](QWidget* dialog) {
        dialog->findChild<QListWidget*>("items")->setCurrentRow(1);
        click(dialog, "&OK");
    });
    EXPECT_EQ(ui.select_item("Wybór reguły do splaszczenia", "Numer reguły", {"1  a", "2  b"}), 1);
    // OK with nothing selected chooses nothing, as Cancel does.
    when_dialog("select_item", [](QWidget* dialog) { click(dialog, "&OK"); });
    EXPECT_EQ(ui.select_item("Wybór reguły do splaszczenia", "Numer reguły", {"1  a"}),
              std::nullopt);
    when_dialog("select_item", [](QWidget* dialog) { click(dialog, "&Cancel"); });
    EXPECT_EQ(ui.select_item("Wybór reguły do splaszczenia", "Numer reguły", {"1  a"}),
              std::nullopt);
}

TEST_F(Gui, SearchProgressOffersPrzerwij) {
    close_introduction();
    ui.begin_progress("Diagnostyka", "Trwa diagnozowanie...");
    auto* progress = window.findChild<QWidget*>("search_progress");
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(progress->isVisible());
    EXPECT_TRUE(ui.progress_continues());
    click(progress, "Przerwij");
    EXPECT_FALSE(ui.progress_continues());
    ui.end_progress();
    flush_events();
    EXPECT_EQ(window.findChild<QWidget*>("search_progress"), nullptr);
}

TEST(FileDialog, MasksMatchWholeNamesWithoutRegardToCase) {
    EXPECT_TRUE(mask_matches("DŹ*.BRD", QString::fromUtf8("dźgrypa.brd")));
    EXPECT_TRUE(mask_matches("re*.BRD", "REgrypa.BRD"));
    EXPECT_TRUE(mask_matches("*.*", "README"));
    EXPECT_FALSE(mask_matches("RE*.BRD", "MOgrypa.BRD"));
    EXPECT_FALSE(mask_matches("re*.BRD", "xREgrypa.BRD"));
    EXPECT_FALSE(mask_matches("re*.BRD", "REgrypa.BRD.bak"));
}

// The names the file dialog lists, once its directory has been read.
QStringList listed_names(QWidget* dialog) {
    auto* view = dialog->findChild<QListView*>("listView");
    QStringList names;
    for (int wait = 0; wait < 200 && names.isEmpty(); ++wait) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        const auto* model = view->model();
        for (int row = 0; row < model->rowCount(view->rootIndex()); ++row) {
            names << model->index(row, 0, view->rootIndex()).data().toString();
        }
    }
    return names;
}

TEST_F(Gui, FileDialogListsTheFilesOfTheMaskInAnyLetterCase) {
    directory.write("dźgrypa.brd", "");
    directory.write("REgrypa.BRD", "");
    QStringList names;
    when_dialog("open_file", [&names](QWidget* dialog) {
        names = listed_names(dialog);
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromUtf8("dźgrypa.brd"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const auto chosen = ui.choose_file_to_open("Wybierz edytowaną bazę dźwięku ",
                                               {{"Bazy dźwięku (DŹ*.BRD)", "DŹ*.BRD"}}, "DŹ*.BRD");
    EXPECT_EQ(names.join(", ").toStdString(), "dźgrypa.brd");
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, directory.file("dźgrypa.brd"));
}

class EditWindowTest : public Gui {
  protected:
    EditWindowTest() { file = directory.write("REgrypa.BRD", original); }

    EditWindow* open_editor() {
        ui.open_editor(file);
        flush_events();
        return window.findChild<EditWindow*>();
    }

    QAction* menu_action(EditWindow* editor, const char* name) {
        return editor->findChild<QAction*>(name);
    }

    void replace_text(EditWindow* editor, const QString& text) {
        editor->findChild<QPlainTextEdit*>("editor")->setPlainText(text);
    }

    // Windows-1250 with a non-breaking space (0xA0) and CR LF line ends.
    const std::string original =
        "fakt(\"gor\xB9"
        "czka\xA0"
        "1\")\r\n";
    std::string file;
};

TEST_F(EditWindowTest, SaveWritesWindows1250AndClosesTheWindow) {
    EditWindow* editor = open_editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->windowTitle(), "Edycja pliku: REgrypa.BRD");
    EXPECT_EQ(editor->text(), "fakt(\"gorączka\u00A01\")\n");  // the non-breaking space survives
    replace_text(editor, QString::fromUtf8("fakt(\"gorączka\u00A01\")\nfakt(\"żółw\")\n"));
    QString note;
    answer("note", "OK", &note);
    menu_action(editor, "save")->trigger();
    flush_events();
    EXPECT_EQ(directory.read("REgrypa.BRD"), original + "fakt(\"\xBF\xF3\xB3w\")\r\n");
    EXPECT_TRUE(note.contains("został zapisany."));
    EXPECT_EQ(window.findChild<EditWindow*>(), nullptr);
}

TEST_F(EditWindowTest, SaveAsWritesTheChosenFile) {
    EditWindow* editor = open_editor();
    ASSERT_NE(editor, nullptr);
    const std::string copy = directory.file("REkopia.BRD");
    when_dialog("save_file", [copy](QWidget* dialog) {
        answer("note", "OK");
        auto* files = static_cast<QFileDialog*>(dialog);
        // The name field has the focus, so the name is typed there.
        files->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(copy));
        QMetaObject::invokeMethod(files, "accept");
    });
    menu_action(editor, "save_as")->trigger();
    flush_events();
    EXPECT_EQ(directory.read("REkopia.BRD"), original);
    EXPECT_EQ(directory.read("REgrypa.BRD"), original);
    EXPECT_EQ(window.findChild<EditWindow*>(), nullptr);
}

TEST_F(EditWindowTest, CloseAnsweredNoLeavesTheFileAndDisablesBrowsing) {
    close_introduction();
    app.commands().enable({10061, 10062, 10071});
    EditWindow* editor = open_editor();
    ASSERT_NE(editor, nullptr);
    replace_text(editor, "zmiana\n");
    answer("ask", "&NIE");
    close_child_window(editor);
    flush_events();
    EXPECT_EQ(directory.read("REgrypa.BRD"), original);
    EXPECT_EQ(window.findChild<EditWindow*>(), nullptr);
    EXPECT_FALSE(command(10061)->isEnabled());
    EXPECT_FALSE(command(10062)->isEnabled());
    EXPECT_TRUE(command(10071)->isEnabled());
}

TEST_F(EditWindowTest, QuittingAsksOpenEditWindowsWhetherToSave) {
    close_introduction();
    EditWindow* editor = open_editor();
    ASSERT_NE(editor, nullptr);
    replace_text(editor, "fakt(\"nowy\")\n");
    when_dialog("confirm", [](QWidget* quit) {
        when_dialog("ask", [](QWidget* save) {
            answer("note", "OK");
            click(save, "&TAK");
        });
        click(quit, "Tak");
    });
    EXPECT_TRUE(window.close());
    EXPECT_EQ(directory.read("REgrypa.BRD"), "fakt(\"nowy\")\r\n");
}

TEST_F(EditWindowTest, UnencodableCharacterIsRefusedAndTheWindowStaysOpen) {
    EditWindow* editor = open_editor();
    ASSERT_NE(editor, nullptr);
    replace_text(editor, QString::fromUtf8("fakt(\"a\")\nfakt(\"Ж\")\n"));
    QString note;
    answer("note", "OK", &note);
    menu_action(editor, "save")->trigger();
    flush_events();
    EXPECT_EQ(directory.read("REgrypa.BRD"), original);
    EXPECT_TRUE(note.contains(QString::fromUtf8("'Ж'")));
    EXPECT_TRUE(note.contains("linii 2"));
    EXPECT_EQ(window.findChild<EditWindow*>(), editor);
}

TEST_F(Gui, RuleBrowseWindowShowsTheSelectedRule) {
    close_introduction();
    window.resize(1500, 800);
    load_example_rules();
    save_screenshot(&window, "screenshot_main_window.png");
    command(10061)->trigger();
    flush_events();
    auto* browse = window.findChild<BrowseWindow*>();
    ASSERT_NE(browse, nullptr);
    const auto& rules = app.store().all(Kind::regula);
    ASSERT_GE(rules.size(), 2u);
    auto* numbers = browse->findChild<QListWidget*>("numbers");
    ASSERT_EQ(numbers->count(), static_cast<int>(rules.size()));
    numbers->setCurrentRow(1);
    EXPECT_EQ(browse->findChild<QLineEdit*>("field_0")->text().toStdString(),
              Rule(rules[1]).conclusion());
    auto* conditions = browse->findChild<QListWidget*>("field_1");
    ASSERT_EQ(conditions->count(), static_cast<int>(Rule(rules[1]).conditions().size()));
    EXPECT_EQ(conditions->item(0)->text().toStdString(), Rule(rules[1]).conditions().front());
    EXPECT_EQ(browse->findChild<QLineEdit*>("count_0")->text(), QString::number(rules.size()));
    EXPECT_EQ(browse->findChild<QLabel*>("label_1")->text(), QString::fromUtf8(" Lista warunków "));
    save_screenshot(browse->parentWidget(), "screenshot_rule_browse.png");
}

TEST_F(Gui, WholeBaseFileWindowRestoresTheMainTitleWhenClosed) {
    close_introduction();
    const std::string path = directory.write("REgrypa.BRD",
                                             "fakt(\"gor\xB9"
                                             "czka\")\r\n");
    app.store().set_text(Kind::nazwa_re_pelna, path);
    app.store().set_text(Kind::nazwa_re, "REgrypa.BRD");
    app.commands().enable({10062});
    command(10062)->trigger();
    flush_events();
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("xamo_RD Przegląd pliku bazy: REgrypa.BRD"));
    auto* text = window.findChild<QPlainTextEdit*>("text");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->toPlainText(), QString::fromUtf8("fakt(\"gorączka\")\n"));
    EXPECT_TRUE(text->isReadOnly());
    close_child_window(text->parentWidget());
    flush_events();
    EXPECT_EQ(window.windowTitle(), "xamo_RD");
}

TEST_F(Gui, ExplanationDialogScreenshot) {
    ExplanationDialog dialog(
        ui, &window, "Wyjaśnienie reguły nr 1",
        {"Reguła nr 1:", "  grypa", "jest prawdziwa, gdyż prawdziwe są warunki:", "  gorączka",
         "  kaszel", "  nwysypka"});
    dialog.show();
    save_screenshot(&dialog, "screenshot_explanation.png");
    EXPECT_EQ(dialog.findChild<QListWidget*>("lines")->count(), 6);
    dialog.close();
}

}  // namespace
}  // namespace xamo
