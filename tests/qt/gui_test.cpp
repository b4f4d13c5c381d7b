#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QSettings>
#include <QStyle>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <functional>
#include <map>

#include "app/application.h"
#include "app/base_templates.h"
#include "askable/askable.h"
#include "generators.h"
#include "loading/loading.h"
#include "support/temp_dir.h"
#include "ui/qt/appearance.h"
#include "ui/qt/browse_window.h"
#include "ui/qt/dialogs.h"
#include "ui/qt/edit_window.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_interaction.h"
#include "verify/internal_contradictions.h"

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

// Finds the button by its caption; an access letter's "&" does not count.
void click(QWidget* dialog, const QString& caption) {
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

// Screenshots go to the build directory, for a person to look at.
void save_screenshot(QWidget* widget, const char* name) {
    QApplication::processEvents();
    const QString path = QString(XAMO_SCREENSHOT_DIR) + "/" + name;
    EXPECT_TRUE(widget->grab().save(path, "PNG")) << path.toStdString();
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
        window.resize(MainWindow::default_size());
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

    // Loads a base of the example through the menu, answering the file dialog and the note.
    void load_example(const char* name, int load_command) {
        fs::copy_file(fs::path(XAMO_EXAMPLES_DIR) / "BAZY" / name, directory.path() / name);
        const QString path = QString::fromStdString(directory.file(name));
        const bool rules = load_command == 10058;
        when_dialog("open_file", [path, rules](QWidget* dialog) {
            // The "loaded" note, then for rules the three diagnoses offered, declined; for models
            // the results of their two diagnoses.
            if (rules) {
                answer_in_turn(
                    {{"note", "OK"}, {"confirm", "Nie"}, {"confirm", "Nie"}, {"confirm", "Nie"}});
            } else {
                answer_in_turn({{"note", "OK"}, {"note", "OK"}, {"note", "OK"}});
            }
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        command(load_command)->trigger();
        flush_events();
    }

    void load_example_rules() { load_example("REogrzewanie.BRD", 10058); }

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

// Every top-level menu is on the bar, none behind the extension button, at the window's default
// size and maximised on a screen 1280 pixels wide; each has an access letter of its own.
TEST_F(Gui, MenuBarShowsEveryMenuOnAScreen1280PixelsWide) {
    QSet<QKeySequence> letters;
    int menus = 0;
    for (const int width : {MainWindow::default_size().width(), 1280}) {
        window.resize(width, 800);
        flush_events();
        for (QMenuBar* row : window.menu_rows()) {
            auto* extension = row->findChild<QWidget*>("qt_menubar_ext_button");
            EXPECT_TRUE(extension == nullptr || !extension->isVisible()) << width;
            for (QAction* menu : row->actions()) {
                const QRect place = row->actionGeometry(menu);
                EXPECT_TRUE(place.isValid() && row->rect().contains(place))
                    << menu->text().toStdString() << " at " << width;
                if (width != 1280) continue;
                ++menus;
                const QKeySequence letter = QKeySequence::mnemonic(menu->text());
                EXPECT_FALSE(letter.isEmpty()) << menu->text().toStdString();
                EXPECT_FALSE(letters.contains(letter)) << menu->text().toStdString();
                letters.insert(letter);
            }
        }
    }
    EXPECT_EQ(menus, 14);
    save_screenshot(&window, "screenshot_menu_bar.png");
}

// The introduction can only be closed: a double click on its title neither maximises nor
// minimises it. The program's windows carry its own icon.
TEST_F(Gui, IntroductionCanOnlyBeClosedAndWindowsCarryTheProgramIcon) {
    auto* frame =
        qobject_cast<QMdiSubWindow*>(window.findChild<IntroductionWindow*>()->parentWidget());
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(frame->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(frame->windowFlags() & Qt::WindowMaximizeButtonHint);
    const QPointF title(frame->width() / 2.0,
                        frame->style()->pixelMetric(QStyle::PM_TitleBarHeight) / 2.0);
    QMouseEvent hover(QEvent::MouseMove, title, frame->mapToGlobal(title), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &hover);
    QMouseEvent twice(QEvent::MouseButtonDblClick, title, frame->mapToGlobal(title), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &twice);
    flush_events();
    EXPECT_FALSE(frame->isMaximized());
    EXPECT_FALSE(frame->isMinimized());

    EXPECT_TRUE(program_icon().pixmap(128).save(QString(XAMO_SCREENSHOT_DIR) + "/icon.png"));
    const QImage icon = program_icon().pixmap(32).toImage();
    EXPECT_EQ(window.windowIcon().pixmap(32).toImage(), icon);
    EXPECT_EQ(frame->windowIcon().pixmap(32).toImage(), icon);
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
    auto* messages = window.findChild<QPlainTextEdit*>("messages");
    int changes = 0;
    QObject::connect(messages->document(), &QTextDocument::contentsChanged,
                     [&changes] { ++changes; });
    // Written while no event is processed (as during a run), shown when the loop runs, not line
    // by line; a long text keeps only what the window shows, also across pieces of one line.
    for (const int count : {150, 100000}) {
        changes = 0;
        for (int i = 0; i < count; ++i) {
            ui.write("wiersz ");
            ui.write_integer(i);
            ui.new_line();
        }
        ui.write("bez końca");
        EXPECT_EQ(changes, 0);
        flush_events();
        // Added and trimmed to a hundred lines once.
        EXPECT_LE(changes, 3);
        const QStringList lines = messages->toPlainText().split('\n');
        ASSERT_EQ(lines.size(), 100);
        EXPECT_EQ(lines.front(), "wiersz " + QString::number(count - 99));
        EXPECT_EQ(lines[98], "wiersz " + QString::number(count - 1));
        EXPECT_EQ(lines.back(), QString::fromUtf8("bez końca"));
        ui.new_line();
        flush_events();
        ASSERT_EQ(messages->toPlainText().split('\n', Qt::SkipEmptyParts).size(), 100);
    }
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

TEST_F(Gui, CancellableListClosesOnAnulujAndEscapeWithoutAChoice) {
    when_dialog("list", [](QWidget* dialog) { click(dialog, "Anuluj"); });
    EXPECT_EQ(ui.choose_from_list_or_cancel("Dlaczego nie?", "Wybierz:", {"a", "b"}, false),
              std::nullopt);
    when_dialog("list", [](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_EQ(ui.choose_from_list_or_cancel("Dlaczego nie?", "Wybierz:", {"a", "b"}, false),
              std::nullopt);
    when_dialog("list", [](QWidget* dialog) { click(dialog, "&Kontynuuj"); });
    EXPECT_EQ(ui.choose_from_list_or_cancel("Dlaczego nie?", "Wybierz:", {"a", "b"}, false),
              std::vector<int>{0});
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

// Records when the progress dialog is first shown and then presses its "Przerwij".
class ProgressWatch : public QObject {
  public:
    explicit ProgressWatch(const QElapsedTimer& clock) : clock_(clock) {
        qApp->installEventFilter(this);
    }
    ~ProgressWatch() override { qApp->removeEventFilter(this); }
    qint64 shown_at = -1;
    qint64 interrupted_at = -1;

  protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Show && shown_at < 0 &&
            object->objectName() == "search_progress") {
            shown_at = clock_.elapsed();
            auto* dialog = static_cast<QWidget*>(object);
            QTimer::singleShot(0, dialog, [this, dialog] {
                interrupted_at = clock_.elapsed();
                click(dialog, "Przerwij");
            });
        }
        return false;
    }

  private:
    const QElapsedTimer& clock_;
};

// A chain of 50,000 rules, then a chain of 40 levels with two rules for each, whose bottom leads
// only into a cycle: each of the 2^40 choices of rules of the deepest rule ends there, so the
// search runs for ages unless interrupted, keeping nothing. The dialog must be up within 0.5 s
// of the start (building the rule index included), and "Przerwij" must end it within 0.2 s.
TEST_F(Gui, SearchProgressShowsAtOnceOnALongChainAndPrzerwijAnswers) {
    close_introduction();
    FactStore& store = app.store();
    for (const auto& r : bench::generate_chain_rules(50000))
        store.add(make_rule(r.number, r.conclusion, r.conditions, 1));
    // Its own names: k_i for c_i, p_i and q_i for a_i and b_i.
    const auto renamed = [](std::string name) {
        const std::size_t at = name.find('_') - 1;
        name[at] = name[at] == 'c' ? 'k' : name[at] == 'a' ? 'p' : 'q';
        return name;
    };
    for (const auto& r : bench::generate_chain_rules(40, bench::ChainShape::Alternatives)) {
        StringList conditions;
        for (const auto& c : r.conditions) conditions.push_back(renamed(c));
        store.add(make_rule(100000 + r.number, renamed(r.conclusion), conditions, 1));
    }
    store.add(make_rule(200001, "k_41", {"y"}, 1));
    store.add(make_rule(200002, "y", {"z"}, 1));
    store.add(make_rule(200003, "z", {"y"}, 1));
    store.set_text(Kind::nazwa_re, "REłańcuch.BRD");
    remember_askable(app.askable(), ui, askable_conditions_of_rules(store, app.askable()));
    RuleDiagnosisContext ctx = app.diagnosis_context();

    QElapsedTimer clock;
    ProgressWatch watch(clock);
    clock.start();
    EXPECT_FALSE(internal::wyznacz_sprzecznosc_1w(ctx));
    const qint64 ended_at = clock.elapsed();
    ASSERT_GE(watch.shown_at, 0) << "no progress dialog";
    EXPECT_LT(watch.shown_at, 500);
    ASSERT_GE(watch.interrupted_at, 0);
    EXPECT_LT(ended_at - watch.interrupted_at, 200);
    flush_events();
    EXPECT_EQ(window.findChild<QWidget*>("search_progress"), nullptr);
    const QString messages = window.findChild<QPlainTextEdit*>("messages")->toPlainText();
    EXPECT_TRUE(messages.contains(QString::fromUtf8(
        "Diagnostyka sprzeczności wewnętrznych została przerwana. Baza reguł REłańcuch.BRD nie "
        "została w pełni sprawdzona.")))
        << messages.toStdString();
}

TEST(FileDialog, MasksMatchWholeNamesWithoutRegardToCase) {
    EXPECT_TRUE(mask_matches("DŹ*.BRD", QString::fromUtf8("dźgrypa.brd")));
    EXPECT_TRUE(mask_matches("re*.BRD", "REgrypa.BRD"));
    EXPECT_TRUE(mask_matches("*.*", "README"));
    EXPECT_FALSE(mask_matches("RE*.BRD", "MOgrypa.BRD"));
    EXPECT_FALSE(mask_matches("re*.BRD", "xREgrypa.BRD"));
    EXPECT_FALSE(mask_matches("re*.BRD", "REgrypa.BRD.bak"));
}

// The names the file dialog lists, once its directory has been read (in a thread of the
// dialog's own, which on a busy machine may take seconds).
QStringList listed_names(QWidget* dialog) {
    auto* view = dialog->findChild<QListView*>("listView");
    QStringList names;
    for (int wait = 0; wait < 1000 && names.isEmpty(); ++wait) {
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

// A dialog of a kind of base starts in the folder last used for that kind; other kinds and other
// files (reports) start in the current directory.
TEST_F(Gui, FileDialogOfABaseKindStartsInItsLastFolder) {
    const std::string chosen = directory.write("bazy/REgrypa.BRD", "");
    auto start_of = [this](const std::vector<FileFilter>& filters, const std::string& pick) {
        QString start;
        when_dialog("open_file", [&start, pick](QWidget* dialog) {
            auto* files = static_cast<QFileDialog*>(dialog);
            start = QFileInfo(files->directory().absolutePath()).canonicalFilePath();
            if (pick.empty()) {
                dialog->close();
                return;
            }
            files->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(pick));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        ui.choose_file_to_open("Wybierz", filters, filters.front().pattern);
        return start.toStdString();
    };
    const std::vector<FileFilter> rules = {{"Bazy reguł (RE*.BRD)", "RE*.BRD"}};
    const std::string here = fs::canonical(directory.path()).string();
    EXPECT_EQ(start_of(rules, chosen), here);
    EXPECT_EQ(start_of(rules, ""), fs::canonical(directory.path() / "bazy").string());
    EXPECT_EQ(start_of({{"Bazy modeli (MO*.BRD)", "MO*.BRD"}}, ""), here);
    EXPECT_EQ(start_of({{"Raporty (*.rpt)", "*.rpt"}}, ""), here);
}

// Qt's own texts are Polish, as every text of the program is.
TEST_F(Gui, FileDialogSpeaksPolish) {
    QStringList texts;
    when_dialog("open_file", [&texts](QWidget* dialog) {
        for (auto* label : dialog->findChildren<QLabel*>()) texts << label->text();
        for (auto* button : dialog->findChildren<QAbstractButton*>()) texts << button->text();
        save_screenshot(dialog, "screenshot_file_dialog.png");
        dialog->close();
    });
    EXPECT_FALSE(
        ui.choose_file_to_open("Wybierz bazę", {{"Bazy reguł (RE*.BRD)", "RE*.BRD"}}, "RE*.BRD"));
    EXPECT_TRUE(texts.contains("Szukaj w:")) << texts.join(", ").toStdString();
    EXPECT_TRUE(texts.contains("Anuluj")) << texts.join(", ").toStdString();
}

// A name typed without an extension is saved with the chosen filter's; one with an extension, or
// under "*.*", is kept as typed.
TEST_F(Gui, SaveDialogAddsTheExtensionOfTheChosenFilter) {
    struct Case {
        FileFilter filter;
        QString typed;
        std::string saved;
    };
    const std::vector<Case> cases = {
        {{"Bazy reguł (RE*.BRD)", "RE*.BRD"}, "REpusta", "REpusta.BRD"},
        {{"Podsumowania (*.txt)", "*.txt"}, "podsumowanie", "podsumowanie.txt"},
        {{"Raporty (*.rpt)", "*.rpt"}, "raport1", "raport1.rpt"},
        {{"Opisy (*.opi)", "*.opi"}, "opis.v2", "opis.v2"},
        {{"Wszystkie pliki (*.*)", "*.*"}, "README", "README"},
    };
    for (const auto& test : cases) {
        when_dialog("save_file", [&test](QWidget* dialog) {
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(test.typed);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        const auto chosen = ui.choose_file_to_save("Zapisz", {test.filter}, test.filter.pattern);
        ASSERT_TRUE(chosen) << test.saved;
        EXPECT_EQ(*chosen, directory.file(test.saved));
    }
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

    // Replaces the text as typing would: the document counts as changed.
    void replace_text(EditWindow* editor, const QString& text) {
        QTextCursor cursor(editor->findChild<QPlainTextEdit*>("editor")->document());
        cursor.select(QTextCursor::Document);
        cursor.insertText(text);
    }

    // Presses keys in the editor of the active window, as a user would.
    void press(EditWindow* editor, Qt::Key key) {
        auto* text = editor->findChild<QPlainTextEdit*>("editor");
        QApplication::setActiveWindow(&window);
        text->setFocus();
        QTest::keyClick(text, key, Qt::ControlModifier);
    }

    // No dialog may appear: one that does is closed and fails the test.
    void expect_no_dialog() {
        QTimer::singleShot(1500, &window, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "unexpected dialog " << modal->objectName().toStdString();
                modal->close();
            }
        });
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
    EXPECT_EQ(editor->windowTitle(), "Edycja pliku: REgrypa.BRD[*]");  // [*]: the change mark
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

// Escape or the close button of the save question cancels the close: the editor keeps its text.
TEST_F(EditWindowTest, SaveQuestionClosedWithoutAnAnswerKeepsTheEditor) {
    EditWindow* editor = open_editor();
    ASSERT_NE(editor, nullptr);
    replace_text(editor, "zmiana\n");
    for (const bool escape : {true, false}) {
        QString question;
        when_dialog("ask", [escape, &question](QWidget* dialog) {
            for (auto* label : dialog->findChildren<QLabel*>()) question += label->text();
            if (escape) {
                QTest::keyClick(dialog, Qt::Key_Escape);
            } else {
                dialog->close();
            }
        });
        close_child_window(editor);
        flush_events();
        EXPECT_TRUE(question.contains(QString::fromUtf8("Czy zapisać aktualną postać pliku ?")));
        ASSERT_EQ(window.findChild<EditWindow*>(), editor) << (escape ? "Escape" : "close");
        EXPECT_EQ(editor->text(), "zmiana\n");
        EXPECT_EQ(directory.read("REgrypa.BRD"), original);
    }
}

// Quitting with a changed editor whose save question is closed keeps the program and the editor.
TEST_F(EditWindowTest, QuitKeepsTheProgramWhenTheEditorKeepsItsText) {
    close_introduction();
    EditWindow* editor = open_editor();
    ASSERT_NE(editor, nullptr);
    replace_text(editor, "zmiana\n");
    when_dialog("confirm", [](QWidget* quit) {
        when_dialog("ask", [](QWidget* save) { QTest::keyClick(save, Qt::Key_Escape); });
        click(quit, "Tak");
    });
    EXPECT_FALSE(window.close());
    EXPECT_FALSE(app.finished());
    EXPECT_EQ(window.findChild<EditWindow*>(), editor);
    answer("note", "OK");
    command(10154)->trigger();  // any command: the program must not end after it
    flush_events();
    EXPECT_TRUE(window.isVisible());
}

// Ctrl+S saves without a note, keeps the window and lists the checker's findings of the saved
// text; Ctrl+W and Ctrl+F4 close, asking only when the text was changed; the title carries the
// change mark while the text differs from the file.
TEST_F(EditWindowTest, EditorKeysAndTheChangeMark) {
    close_introduction();
    app.commands().enable({10061});
    EditWindow* editor = open_editor();
    ASSERT_NE(editor, nullptr);
    auto* frame = qobject_cast<QMdiSubWindow*>(editor->parentWidget());
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(frame->isWindowModified());
    const std::string saved =
        "fakt(\"nowy\")\r\nregu\xB3"
        "a(1,\"b\",[\"a\"\r\n";
    replace_text(editor, QString::fromUtf8("fakt(\"nowy\")\nreguła(1,\"b\",[\"a\"\n"));
    EXPECT_TRUE(frame->isWindowModified());
    save_screenshot(&window, "screenshot_editor.png");
    expect_no_dialog();
    press(editor, Qt::Key_S);
    flush_events();
    EXPECT_EQ(directory.read("REgrypa.BRD"), saved);
    ASSERT_EQ(window.findChild<EditWindow*>(), editor);
    EXPECT_FALSE(frame->isWindowModified());
    EXPECT_FALSE(command(10061)->isEnabled());
    auto* findings = editor->findChild<QListWidget*>("findings");
    ASSERT_TRUE(findings->isVisible());
    bool syntax_error_listed = false;
    for (int i = 0; i < findings->count(); ++i) {
        syntax_error_listed |= findings->item(i)->data(Qt::UserRole).toInt() == 2;
    }
    EXPECT_TRUE(syntax_error_listed);

    press(editor, Qt::Key_W);  // unchanged since the save: closes without a question
    flush_events();
    EXPECT_EQ(window.findChild<EditWindow*>(), nullptr);

    editor = open_editor();
    ASSERT_NE(editor, nullptr);
    replace_text(editor, "zmiana\n");
    answer("ask", "&NIE");
    press(editor, Qt::Key_F4);
    flush_events();
    EXPECT_EQ(window.findChild<EditWindow*>(), nullptr);
    EXPECT_EQ(directory.read("REgrypa.BRD"), saved);
}

// "Edycja" of a file already open brings its editor forward with the typed text; a save over
// the file changed on disk meanwhile asks first, and "Nie" keeps both the file and the window.
TEST_F(EditWindowTest, OneEditorPerFileAndASaveOverAChangedFileAsksFirst) {
    close_introduction();
    EditWindow* editor = open_editor();
    ASSERT_NE(editor, nullptr);
    replace_text(editor, "fakt(\"pierwszy\")\n");
    ui.show_text("Tekst", "tekst");
    flush_events();
    ui.open_editor(file);
    flush_events();
    EXPECT_EQ(window.findChildren<EditWindow*>().size(), 1);
    EXPECT_EQ(window.findChild<QMdiArea*>("area")->activeSubWindow(), editor->parentWidget());
    EXPECT_EQ(editor->text(), "fakt(\"pierwszy\")\n");

    directory.write("REgrypa.BRD", "fakt(\"z dysku\")\r\n");
    QString question;
    answer("ask", "&NIE", &question);
    menu_action(editor, "save")->trigger();
    flush_events();
    EXPECT_TRUE(question.contains(QString::fromUtf8("został zmieniony na dysku")));
    EXPECT_EQ(directory.read("REgrypa.BRD"), "fakt(\"z dysku\")\r\n");
    EXPECT_EQ(window.findChild<EditWindow*>(), editor);
}

// F7 checks the base and lists the findings under the text; a click on one puts the caret on
// its line, which carries a mark. Ctrl+G goes to a line.
TEST_F(EditWindowTest, CheckListsFindingsAndMovesToTheirLines) {
    close_introduction();
    directory.write("REgrypa.BRD",
                    "fakt(\"a\")\r\nregu\xB3"
                    "a(1,\"b\",[\"a\"\r\nfakt(\"c\")\r\n");
    EditWindow* editor = open_editor();
    ASSERT_NE(editor, nullptr);
    auto* text = editor->findChild<QPlainTextEdit*>("editor");
    QApplication::setActiveWindow(&window);
    text->setFocus();
    QTest::keyClick(text, Qt::Key_F7);
    flush_events();
    auto* findings = editor->findChild<QListWidget*>("findings");
    ASSERT_TRUE(findings->isVisible());
    QListWidgetItem* on_line_2 = nullptr;
    for (int i = 0; i < findings->count(); ++i) {
        if (findings->item(i)->data(Qt::UserRole).toInt() == 2) on_line_2 = findings->item(i);
    }
    ASSERT_NE(on_line_2, nullptr) << findings->item(0)->text().toStdString();
    // A short list takes the height of its rows, leaving the window to the text.
    EXPECT_LT(findings->height(), text->height());
    EXPECT_LE(findings->height(), findings->count() * (findings->sizeHintForRow(0) + 2) +
                                      4 * findings->frameWidth() + 8);
    save_screenshot(&window, "screenshot_editor_findings.png");
    emit findings->itemClicked(on_line_2);
    EXPECT_EQ(text->textCursor().blockNumber(), 1);

    when_dialog("go_to_line", [](QWidget* dialog) {
        static_cast<QInputDialog*>(dialog)->setIntValue(3);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QTest::keyClick(text, Qt::Key_G, Qt::ControlModifier);
    flush_events();
    EXPECT_EQ(text->textCursor().blockNumber(), 2);
    // The numbers stand left of the text, wide enough for the last line's number.
    auto* numbers = text->findChild<QWidget*>("line_numbers");
    ASSERT_NE(numbers, nullptr);
    EXPECT_GE(numbers->width(), text->fontMetrics().horizontalAdvance("3"));
    EXPECT_LE(numbers->geometry().right(), text->viewport()->geometry().left());
    // The caret has left the line of the finding; its mark stays.
    bool marked = false;
    for (const auto& mark : text->extraSelections()) marked |= mark.cursor.blockNumber() == 1;
    EXPECT_TRUE(marked);
}

// "Edycja" in the note of a syntax error found at load opens the file with the caret on the
// line in error, the line shown and marked.
TEST_F(EditWindowTest, SyntaxErrorAtLoadOpensTheEditorAtItsLine) {
    close_introduction();
    std::string text;
    for (int i = 1; i < 50; ++i) text += "fakt(\"f" + std::to_string(i) + "\")\r\n";
    text += "fakt(\"zle\"\r\nfakt(\"koniec\")\r\n";
    directory.write("REgrypa.BRD", text);
    const QString path = QString::fromStdString(file);
    when_dialog("open_file", [path](QWidget* dialog) {
        answer_in_turn({{"note", "&Edycja"}, {"note", "OK"}});
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    command(10058)->trigger();
    flush_events();
    auto* editor = window.findChild<EditWindow*>();
    ASSERT_NE(editor, nullptr);
    auto* text_edit = editor->findChild<QPlainTextEdit*>("editor");
    EXPECT_EQ(text_edit->textCursor().blockNumber(), 49);
    EXPECT_TRUE(text_edit->viewport()->rect().contains(text_edit->cursorRect()));
    // Marked, and still marked once the caret moves on.
    text_edit->moveCursor(QTextCursor::Start);
    bool marked = false;
    for (const auto& mark : text_edit->extraSelections()) marked |= mark.cursor.blockNumber() == 49;
    EXPECT_TRUE(marked);
    editor->go_to_line(50);
    save_screenshot(&window, "screenshot_editor_syntax_error.png");
}

// A new base opens with the template of its kind as remarks, unchanged until the user types;
// a graphics base, which has no remarks, shows it only while empty, and a file of no base kind
// opens empty.
TEST_F(EditWindowTest, NewBaseOpensWithTheTemplateOfItsKind) {
    ui.open_editor(directory.write("MOnowa.BRD", ""));
    ui.open_editor(directory.file("GRnowa.BRD"));
    ui.open_editor(directory.write("notatki.txt", ""));
    flush_events();
    std::map<std::string, EditWindow*> editors;
    for (auto* editor : window.findChildren<EditWindow*>()) {
        editors[editor->windowTitle().toStdString()] = editor;
    }
    ASSERT_EQ(editors.size(), 3u);
    EditWindow* models = editors["Edycja pliku: MOnowa.BRD[*]"];
    ASSERT_NE(models, nullptr);
    EXPECT_EQ(models->text(), base_template(BaseKind::Models).text);
    EXPECT_FALSE(models->changed());
    EditWindow* graphics = editors["Edycja pliku: GRnowa.BRD[*]"];
    ASSERT_NE(graphics, nullptr);
    EXPECT_EQ(graphics->text(), "");
    const auto* graphics_text = graphics->findChild<QPlainTextEdit*>("editor");
    EXPECT_EQ(graphics_text->placeholderText().toStdString(),
              base_template(BaseKind::Graphics).hint);
    EXPECT_FALSE(fs::exists(directory.file("GRnowa.BRD")));
    const auto* notes =
        editors["Edycja pliku: notatki.txt[*]"]->findChild<QPlainTextEdit*>("editor");
    EXPECT_EQ(notes->toPlainText(), "");
    EXPECT_EQ(notes->placeholderText(), "");
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

// At the default size no label of a browse window is cut ("Liczba modeli wielomianowych").
TEST_F(Gui, BrowseLabelsAreShownWhole) {
    close_introduction();
    load_example_rules();
    load_example("MOogrzewanie.BRD", 10071);
    command(10075)->trigger();  // basic models
    flush_events();
    auto* browse = window.findChild<BrowseWindow*>();
    ASSERT_NE(browse, nullptr);
    const auto labels = browse->findChildren<QLabel*>();
    ASSERT_GE(labels.size(), 10);
    for (const QLabel* label : labels)
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    save_screenshot(browse->parentWidget(), "screenshot_model_browse.png");
}

// A message box is at least as wide as its title with the frame's icon and buttons.
TEST_F(Gui, MessageBoxesFitTheirTitles) {
    const QString title = QString::fromUtf8("Wynik ładowania bazy reguł");
    for (const char* kind : {"note", "ask", "confirm"}) {
        int width = 0;
        int title_width = 0;
        when_dialog(kind, [&](QWidget* box) {
            width = box->width();
            title_width = box->fontMetrics().horizontalAdvance(title);
            if (std::string(kind) == "ask") save_screenshot(box, "screenshot_ask.png");
            box->close();
        });
        if (std::string(kind) == "note") ui.note(utf8(title), "Tak.");
        if (std::string(kind) == "ask") ui.ask(utf8(title), "Tak?", {"&Tak", "&Nie"});
        if (std::string(kind) == "confirm") ui.confirm(utf8(title), "Tak?");
        EXPECT_GE(width, title_width + 100) << kind;
    }
}

// A click into the message window leaves the windows opened over it on top; "Okna" lists the
// windows and brings one forward, tiles them and closes all but the message window.
TEST_F(Gui, WindowMenuFindsArrangesAndClosesWindows) {
    close_introduction();
    auto* area = window.findChild<QMdiArea*>("area");
    ui.show_text("Pierwszy", "a");
    ui.show_text("Drugi", "b");
    flush_events();
    auto* messages = window.findChild<QPlainTextEdit*>("messages");
    QApplication::setActiveWindow(&window);
    QTest::mouseClick(messages->viewport(), Qt::LeftButton);
    flush_events();
    EXPECT_EQ(area->activeSubWindow()->widget(), messages);
    EXPECT_NE(area->subWindowList(QMdiArea::StackingOrder).last()->widget(), messages);

    QMenu* menu = window.window_menu();
    menu->popup(window.mapToGlobal(QPoint(300, 60)));
    flush_events();
    save_screenshot(menu, "screenshot_window_menu.png");
    QStringList titles;
    QAction* message_entry = nullptr;
    for (QAction* entry : menu->actions()) {
        if (entry->objectName() != "open_window") continue;
        titles << entry->text();
        if (entry->isChecked()) message_entry = entry;
    }
    EXPECT_EQ(titles, QStringList({"&1 Okno Pomocnicze", "&2 Pierwszy", "&3 Drugi"}));
    ASSERT_NE(message_entry, nullptr);
    menu->close();
    message_entry->trigger();  // chosen by name, the message window comes forward
    flush_events();
    EXPECT_EQ(area->subWindowList(QMdiArea::StackingOrder).last()->widget(), messages);

    menu->findChild<QAction*>("tile")->trigger();
    flush_events();
    const auto windows = area->subWindowList();
    ASSERT_EQ(windows.size(), 3);
    for (int i = 0; i < windows.size(); ++i) {
        for (int j = i + 1; j < windows.size(); ++j)
            EXPECT_FALSE(windows[i]->geometry().intersects(windows[j]->geometry())) << i << j;
    }
    menu->findChild<QAction*>("close_all")->trigger();
    flush_events();
    ASSERT_EQ(area->subWindowList().size(), 1);
    EXPECT_EQ(area->subWindowList().front()->widget(), messages);
}

// The question boxes answer their access letters; a deletion defaults to "Nie"; Escape closes
// the introduction; Ctrl+End reaches the end of a read-only text.
TEST_F(Gui, KeyboardAnswersQuestionsAndMovesInReadOnlyText) {
    auto* introduction = window.findChild<IntroductionWindow*>();
    ASSERT_NE(introduction, nullptr);
    QTest::keyClick(introduction, Qt::Key_Escape);
    flush_events();
    EXPECT_EQ(window.findChild<IntroductionWindow*>(), nullptr);

    auto press_in_box = [](const char* name, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        when_dialog(name, [key, modifiers](QWidget* box) {
            QApplication::setActiveWindow(box);
            QTest::keyClick(box, key, modifiers);
        });
    };
    press_in_box("ask", Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(ui.ask("Pytanie", "Czy?", {"Tak", "Nie"}), 2);
    press_in_box("confirm", Qt::Key_N, Qt::AltModifier);
    EXPECT_FALSE(ui.confirm("Pytanie", "Czy?"));
    QString default_caption;
    when_dialog("ask", [&default_caption](QWidget* box) {
        default_caption = static_cast<QMessageBox*>(box)->defaultButton()->text();
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_FALSE(ui.confirm_deletion(utf8(QString::fromUtf8("Usunięcie bazy reguł")), "Czy?"));
    EXPECT_EQ(default_caption, "&Nie");
    press_in_box("ask", Qt::Key_T, Qt::AltModifier);
    EXPECT_TRUE(ui.confirm_deletion("Usunięcie", "Czy?"));

    ui.show_text("Tekst", "a\nb\nc");
    flush_events();
    auto* text = window.findChild<QPlainTextEdit*>("text");
    ASSERT_NE(text, nullptr);
    QApplication::setActiveWindow(&window);
    text->setFocus();
    QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(text->textCursor().blockNumber(), 2);
    QTest::keyClick(text, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(text->textCursor().position(), 0);
}

// The caret of a syntax error stands under its character: the note's text is fixed-pitch. Our
// dialogs are at least as wide as their titles.
TEST_F(Gui, ErrorCaretLinesUpAndDialogsFitTheirTitles) {
    const QString line = QString::fromUtf8("reguła(1,\"WWW\",[iii],1)");
    const qsizetype column = line.indexOf("iii");
    int line_advance = 0;
    int caret_advance = 0;
    when_dialog("note", [&](QWidget* box) {
        const QFontMetrics metrics(box->findChild<QLabel*>("qt_msgbox_label")->font());
        line_advance = metrics.horizontalAdvance(line.left(column));
        caret_advance = metrics.horizontalAdvance(QString(column, ' '));
        box->close();
    });
    ui.note_in_columns(utf8(QString::fromUtf8("Obsługa błędu")),
                       utf8(line + "\n" + QString(column, ' ') + "^\nBłąd"));
    EXPECT_GT(line_advance, 0);
    EXPECT_EQ(line_advance, caret_advance);

    const std::string long_title = "Menu wyboru faktów do wnioskowania rozwiniętego dokładnego";
    ListDialog list(ui, &window, long_title, "Fakty:", {"a"}, false);
    OptionDialog option(&window, RadioDialog{long_title, "", {"a", "b"}, 1});
    for (QDialog* dialog : std::initializer_list<QDialog*>{&list, &option}) {
        dialog->show();
        flush_events();
        EXPECT_GE(dialog->width(), title_width(*dialog)) << dialog->objectName().toStdString();
        dialog->close();
    }
}

// Ctrl++, Ctrl+- and Ctrl+0 zoom the message window and the text windows; "Wielkość tekstu..."
// sizes every window and is remembered, as is the main window's size.
TEST_F(Gui, ZoomKeysAndTheRememberedTextSizeAndWindowSize) {
    const QFont application_font = QApplication::font();
    close_introduction();
    ui.write("Wnioskowanie w przód zakończone.");
    ui.new_line();
    flush_events();
    auto* messages = window.findChild<QPlainTextEdit*>("messages");
    const int base = messages->font().pointSize();
    QApplication::setActiveWindow(&window);
    messages->setFocus();
    QTest::keyClick(messages, Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(messages, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(messages->font().pointSize(), base + 2);
    save_screenshot(&window, "screenshot_messages_zoomed.png");
    QTest::keyClick(messages, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(messages->font().pointSize(), base + 1);
    QTest::keyClick(messages, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(messages->font().pointSize(), base);
    ui.show_text("Tekst", "a");
    flush_events();
    auto* text = window.findChild<QPlainTextEdit*>("text");
    text->setFocus();
    QTest::keyClick(text, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(text->font().pointSize(), base + 1);

    when_dialog("text_size", [](QWidget* dialog) {
        static_cast<QInputDialog*>(dialog)->setIntValue(14);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    window.findChild<QAction*>("text_size")->trigger();
    flush_events();
    EXPECT_EQ(messages->font().pointSize(), 14);
    EXPECT_EQ(QApplication::font().pointSize(), 14);
    EXPECT_EQ(QSettings("xamo", "xamo_RD").value("tekst/wielkosc").toInt(), 14);

    window.resize(900, 640);
    answer("confirm", "Tak");
    EXPECT_TRUE(window.close());
    {
        QtInteraction second_ui;
        Application second_app{second_ui};
        MainWindow second{second_app, second_ui};
        EXPECT_EQ(second.size(), QSize(900, 640));
    }
    QSettings("xamo", "xamo_RD").clear();
    QApplication::setFont(application_font);
}

// A base file dropped on the window loads as the kind its prefix names, in any letter case; it
// joins the remembered recent bases, which load again with one click. Another file gets a note.
TEST_F(Gui, DroppedBaseLoadsAndJoinsTheRecentBases) {
    close_introduction();
    fs::copy_file(fs::path(XAMO_EXAMPLES_DIR) / "BAZY" / "REogrzewanie.BRD",
                  directory.path() / "reogrzewanie.brd");
    const std::string path = directory.file("reogrzewanie.brd");
    auto drop = [this](const std::string& file) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
        QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(200, 200), Qt::CopyAction, &data, Qt::LeftButton,
                           Qt::NoModifier);
        QApplication::sendEvent(&window, &dropped);
        flush_events();
    };
    const std::vector<std::pair<QString, QString>> load_answers = {
        {"note", "OK"}, {"confirm", "Nie"}, {"confirm", "Nie"}, {"confirm", "Nie"}};
    answer_in_turn(load_answers);
    drop(path);
    EXPECT_TRUE(base_loaded(app.store(), BaseKind::Rules));
    EXPECT_TRUE(command(10061)->isEnabled());
    EXPECT_EQ(QSettings("xamo", "xamo_RD").value("bazy/ostatnie").toStringList(),
              QStringList{QString::fromStdString(path)});

    KnowledgeBase kb = app.knowledge_base();
    clear_knowledge_base(kb);
    auto* recent = window.findChild<QMenu*>("recent_bases");
    ASSERT_NE(recent, nullptr);
    emit recent->aboutToShow();
    const auto entries = recent->findChildren<QAction*>("recent_base");
    ASSERT_EQ(entries.size(), 1);
    EXPECT_TRUE(entries[0]->text().endsWith("reogrzewanie.brd"));
    answer_in_turn(load_answers);
    entries[0]->trigger();
    flush_events();
    EXPECT_TRUE(base_loaded(app.store(), BaseKind::Rules));

    QString note;
    answer("note", "OK", &note);
    drop(directory.write("notatki.txt", "tekst"));
    EXPECT_TRUE(note.contains("nie jest plikiem bazy wiedzy")) << note.toStdString();
    QSettings("xamo", "xamo_RD").clear();
}

// Stands in for the desktop: remembers the files it is asked to open.
class DesktopStandIn : public QObject {
    Q_OBJECT
  public:
    DesktopStandIn() { QDesktopServices::setUrlHandler("file", this, "open"); }
    ~DesktopStandIn() override { QDesktopServices::unsetUrlHandler("file"); }
    QStringList opened;
  public slots:
    void open(const QUrl& url) { opened << url.toLocalFile(); }
};

// "Pomoc" in the menu (Alt+P) and the "&Pomoc" button of a browse window open the user guide.
// "O programie" names the version and the licence with the file that holds its text.
TEST_F(Gui, AboutNamesTheLicenceAndWhereItsTextIs) {
    close_introduction();
    QString text;
    answer("note", "OK", &text);
    command(10154)->trigger();
    flush_events();
    EXPECT_TRUE(text.contains("Wersja ")) << text.toStdString();
    const QString prefix = "Licencja: MIT (tekst licencji: ";
    const auto at = text.indexOf(prefix);
    ASSERT_GE(at, 0) << text.toStdString();
    const QString rest = text.mid(at + prefix.size());
    QFile licence(rest.left(rest.indexOf(')')));
    ASSERT_TRUE(licence.open(QIODevice::ReadOnly)) << licence.fileName().toStdString();
    EXPECT_TRUE(licence.readAll().startsWith("MIT License"));
}

TEST_F(Gui, HelpOpensTheUserGuide) {
    DesktopStandIn desktop;
    close_introduction();
    QApplication::setActiveWindow(&window);
    QTest::keyClick(&window, Qt::Key_P, Qt::AltModifier);  // its access letter, on the second row
    flush_events();
    ASSERT_EQ(desktop.opened.size(), 1);
    EXPECT_TRUE(desktop.opened[0].endsWith("/guide/index.html")) << desktop.opened[0].toStdString();
    load_example_rules();
    command(10061)->trigger();
    flush_events();
    auto* browse = window.findChild<BrowseWindow*>();
    ASSERT_NE(browse, nullptr);
    click(browse, "&Pomoc");
    flush_events();
    EXPECT_EQ(desktop.opened.size(), 2);
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

#include "gui_test.moc"
