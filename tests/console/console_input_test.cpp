#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>
#include <utility>

#include "app/application.h"
#include "ui/console/console_interaction.h"

namespace xamo {
namespace {

// A line far longer than any answer is skipped with a note, and the next line answers instead:
// a pasted megabyte never becomes a path or a choice.
TEST(ConsoleInput, OverlongLineIsSkippedAndTheNextOneAnswers) {
    std::istringstream in(std::string(200000, 'x') + "\nnie\n");
    std::ostringstream out;
    ConsoleInteraction ui(in, out, true);
    EXPECT_EQ(ui.ask("Pytanie", "Dalej?", {"&Tak", "&Nie"}), 2);
    EXPECT_NE(out.str().find("! Wiersz jest za długi (ponad 65536 znaków) i został pominięty."),
              std::string::npos);
    EXPECT_LT(out.str().size(), 1000u);
}

// A terminal: what is written waits in the buffer until a flush shows it.
class Terminal : public std::streambuf {
  public:
    std::string shown;
    std::string pending;
    int flushes = 0;

  protected:
    int_type overflow(int_type c) override {
        if (c != traits_type::eof()) pending.push_back(static_cast<char>(c));
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        pending.append(s, static_cast<std::size_t>(n));
        return n;
    }
    int sync() override {
        shown += pending;
        pending.clear();
        ++flushes;
        return 0;
    }
};

// A keyboard typing the script one character at a time; at the start of every answer (and when
// the end of the script is first met) it notes whether the terminal shows everything written,
// ending in a prompt.
class Keyboard : public std::streambuf {
  public:
    Keyboard(std::string script, const Terminal& terminal)
        : script_(std::move(script)), terminal_(terminal) {}
    int reads = 0;
    int reads_without_prompt = 0;

  protected:
    int_type underflow() override {
        return at_ < script_.size() ? traits_type::to_int_type(script_[at_]) : traits_type::eof();
    }
    int_type uflow() override {
        if (at_ == 0 || (at_ <= script_.size() && script_[at_ - 1] == '\n')) {
            ++reads;
            if (!terminal_.pending.empty() || !terminal_.shown.ends_with("> "))
                ++reads_without_prompt;
        }
        return take();
    }

  private:
    int_type take() {
        if (at_ >= script_.size()) {
            at_ = script_.size() + 1;
            return traits_type::eof();
        }
        return traits_type::to_int_type(script_[at_++]);
    }
    std::string script_;
    const Terminal& terminal_;
    std::size_t at_ = 0;
};

// A forward run of 2,000 firings, each explained: every answer is read with the whole transcript
// and its prompt on the screen, and the console is flushed only there, not message by message.
TEST(ConsoleOutput, FlushedBeforeEveryReadAndOnlyThen) {
    Terminal terminal;
    std::ostream out(&terminal);
    // Detail level, labels, questions mode; the summary and report questions meet the end.
    Keyboard keyboard("1\nnie\n2\n", terminal);
    std::istream in(&keyboard);
    ConsoleInteraction ui(in, out, true);
    Application app(ui);
    FactStore& store = app.store();
    store.set_text(Kind::nazwa_re, "REtest.BRD");
    store.set_text(Kind::wyroznik, "test");
    store.add(make_text_fact(Kind::fakt, "c0"));
    for (int i = 1; i <= 2000; ++i) {
        std::string conclusion = "c";
        conclusion += std::to_string(i);
        std::string condition = "c";
        condition += std::to_string(i - 1);
        store.add(make_rule(i, conclusion, {condition}, 1));
    }
    app.askable().lista_warunkow_dopytywalnych = StringList{"c0"};
    app.commands().enable({10148});
    app.run_command(10148);
    out.flush();
    EXPECT_NE(terminal.shown.find("Stosuję regułę 2000: Jeżeli"), std::string::npos);
    // Three answers and the end of the script met by the summary and the report questions.
    EXPECT_GE(keyboard.reads, 4);
    EXPECT_EQ(keyboard.reads_without_prompt, 0);
    EXPECT_LE(terminal.flushes, keyboard.reads + 3);
}

}  // namespace
}  // namespace xamo
