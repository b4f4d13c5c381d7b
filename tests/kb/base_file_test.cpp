#include "kb/base_file.h"

#include <gtest/gtest.h>

#include <cmath>

#include "kb/codec.h"
#include "support/temp_dir.h"

namespace xamo {
namespace {

// Lines are given in UTF-8 and stored as Windows-1250, as users' files are.
std::string cp(const std::string& utf8) { return *utf8_to_cp1250(utf8); }

std::optional<ReadError> read(FactStore& store, Section section, const std::string& utf8) {
    return read_section_bytes(store, section, cp(utf8));
}

TEST(BaseFileReader, ReadsEveryFieldTypeWithBlanksEscapesAndTrailingText) {
    FactStore store;
    ASSERT_FALSE(read(store, Section::Rules,
                      "reguła(1,\"grypa\",[\"gorączka\",\"kaszel\",\"nwysypka\"],1)\r\n"
                      "  reguła(2, \"a\" , [ \"b\" , \"c\" ] , 1)\n"
                      "reguła(3,\"a\",[\"b\"],1). % komentarz\n"
                      "fakt(\"a\\\"b\")\n"
                      "fakt(\"c:\\dane\")\n"
                      "fakt(\"x\\\\y\")\n"
                      "fakt(\"tab\there\\n\\r\")\n"
                      "rem_reguła(\"reguły dla dzieci\")"));
    const auto& rules = store.all(Kind::regula);
    ASSERT_EQ(rules.size(), 3u);
    EXPECT_EQ(Rule(rules[0]).conclusion(), "grypa");
    EXPECT_EQ(Rule(rules[0]).conditions(), (StringList{"gorączka", "kaszel", "nwysypka"}));
    EXPECT_EQ(Rule(rules[1]).conditions(), (StringList{"b", "c"}));
    EXPECT_EQ(Rule(rules[2]).display(), 1);
    const auto& facts = store.all(Kind::fakt);
    ASSERT_EQ(facts.size(), 4u);
    EXPECT_EQ(TextFact(facts[0]).text(), "a\"b");
    EXPECT_EQ(TextFact(facts[1]).text(), "c:\\dane");
    EXPECT_EQ(TextFact(facts[2]).text(), "x\\y");
    EXPECT_EQ(TextFact(facts[3]).text(), "tab\there\n\r");
    EXPECT_EQ(store.all(Kind::rem_regula).size(), 1u);
}

TEST(BaseFileReader, NamesRepeatedInAFileShareOneTextThatOutlivesTheStore) {
    FactStore store;
    // The lines before a line in error are stored with their names; the one in error is not.
    ASSERT_TRUE(read(store, Section::Rules,
                     "reguła(1,\"w\",[\"ała\",\"b\\\"c\",\"ała\"],1)\n"
                     "reguła(2,\"ała\",[\"b\\\"c\",\"ała\",\"\",\"ał\"],0)\n"
                     "reguła(3,\"u\",[\"ała\"],x)\n"));
    ASSERT_EQ(store.all(Kind::regula).size(), 2u);
    const NameList first = Rule(store.all(Kind::regula)[0]).conditions();
    const NameList second = Rule(store.all(Kind::regula)[1]).conditions();
    EXPECT_TRUE(first[0].same_text_object(first[2]));
    EXPECT_TRUE(first[0].same_text_object(second[1]));
    EXPECT_TRUE(first[1].same_text_object(second[0]));
    EXPECT_TRUE(first[0].same_text_object(Rule(store.all(Kind::regula)[1]).conclusion()));
    EXPECT_FALSE(second[1].same_text_object(second[3]));
    EXPECT_EQ(second, (StringList{"b\"c", "ała", "", "ał"}));
    EXPECT_TRUE(second[2].empty());
    store.remove_all(Kind::regula);
    EXPECT_EQ(first, (StringList{"ała", "b\"c", "ała"}));
}

TEST(BaseFileReader, ReadsRealsIntegerListsAndEmptyLists) {
    FactStore store;
    ASSERT_FALSE(read(store, Section::Models,
                      "argument_znany(\"x\",5)\n"
                      "argument_znany(\"x\",-1.5e2)\n"
                      "argument_znany(\"x\",+2.25E+3)\n"
                      "argument_znany(\"x\",nan)\n"
                      "argument_znany(\"x\",-Inf)\n"
                      "model_liniowy(1,\"w\",\"y\",[],[],1)\n"
                      "model_wielomianowy(2,\"w\",\"y\",\"x\",[\"1\",\"a\"],[0, -2],0)\n"
                      "rem_modele_ekskluzywne([\"uwaga\"])\n"));
    const auto& known = store.all(Kind::argument_znany);
    EXPECT_EQ(KnownArgument(known[0]).value(), 5.0);
    EXPECT_EQ(KnownArgument(known[1]).value(), -150.0);
    EXPECT_EQ(KnownArgument(known[2]).value(), 2250.0);
    EXPECT_TRUE(std::isnan(KnownArgument(known[3]).value()));
    EXPECT_TRUE(std::isinf(KnownArgument(known[4]).value()) && KnownArgument(known[4]).value() < 0);
    EXPECT_TRUE(LinearModel(store.all(Kind::model_liniowy)[0]).coefficients().empty());
    EXPECT_EQ(PolynomialModel(store.all(Kind::model_wielomianowy)[0]).powers(),
              (IntegerList{0, -2}));
}

struct BadLine {
    const char* line;
    ReadErrorKind kind;
    std::size_t position;
};

// Each malformed line with the error and caret column it must report.
const BadLine kBadLines[] = {
    {"reguła (1,\"a\",[\"b\"],1)", ReadErrorKind::UnknownFunctor, 1},
    {"   ", ReadErrorKind::UnknownFunctor, 4},
    {"Reguła(1,\"a\",[\"b\"],1)", ReadErrorKind::UnknownFunctor, 1},
    {"model(1,\"a\",\"b\",\"c\",\"+\",\"d\",1)", ReadErrorKind::UnknownFunctor, 1},
    {"fakt", ReadErrorKind::OpenParenExpected, 5},
    {"fakt,(\"a\")", ReadErrorKind::OpenParenExpected, 5},
    {"reguła(x,\"a\",[\"b\"],1)", ReadErrorKind::IllegalNumber, 8},
    {"reguła(1,a,[\"b\"],1)", ReadErrorKind::StringExpected, 10},
    {"reguła(1,\"a\",\"b\",1)", ReadErrorKind::OpenBracketExpected, 14},
    {"reguła(1,\"a\",[\"b\" \"c\"],1)", ReadErrorKind::CommaOrBracketExpected, 19},
    {"reguła(1,\"a\",[\"b\"])", ReadErrorKind::CommaOrParenExpected, 19},
    {"reguła(1,\"a\",[\"b\"],1,2)", ReadErrorKind::CommaOrParenExpected, 21},
    {"reguła(1,\"a\",[\"b\"],1", ReadErrorKind::CommaOrParenExpected, 21},
    {"reguła(1,\"a\",[\"b\",1)", ReadErrorKind::StringExpected, 19},
    {"reguła(1,\"a\",[\"b\"\t],1)", ReadErrorKind::CommaOrBracketExpected, 18},
    {"reguła(1,\t\"a\",[\"b\"],1)", ReadErrorKind::StringExpected, 10},
    {"fakt(\"niezamknięty)", ReadErrorKind::StringExpected, 20},
    {"reguła(1,\"a\",[\"b\"", ReadErrorKind::CommaOrBracketExpected, 18},
    {"argument_znany(\"x\",abc)", ReadErrorKind::RealExpected, 20},
    {"argument_znany(\"x\",.5)", ReadErrorKind::RealExpected, 20},
    {"argument_znany(\"x\",1e309)", ReadErrorKind::IllegalNumber, 20},
    {"argument_znany(\"x\",99e308)", ReadErrorKind::IllegalNumber, 20},
    {"reguła(2147483648,\"a\",[\"b\"],1)", ReadErrorKind::IntegerOutOfRange, 8},
    {"reguła(-99999999999999999999999,\"a\",[\"b\"],1)", ReadErrorKind::IntegerOutOfRange, 8},
};

TEST(BaseFileReader, ReportsEachMalformedLineWithKindAndPosition) {
    for (const auto& bad : kBadLines) {
        const bool model_line = std::string(bad.line).rfind("argument_znany", 0) == 0;
        const Section section = model_line ? Section::Models : Section::Rules;
        const Kind before = model_line ? Kind::m_fakt : Kind::fakt;
        const std::string functor(kind_info(before).functor);
        FactStore store;
        const auto error =
            read(store, section,
                 functor + "(\"ok\")\r\n" + bad.line + "\r\n" + functor + "(\"po\")\r\n");
        ASSERT_TRUE(error) << bad.line;
        EXPECT_EQ(error->kind, bad.kind) << bad.line;
        EXPECT_EQ(error->position, bad.position) << bad.line;
        EXPECT_EQ(error->line, bad.line);
        EXPECT_EQ(error->line_number, 2u);
        // The facts before the line in error stay; nothing after it is read.
        ASSERT_EQ(store.all(before).size(), 1u) << bad.line;
        EXPECT_EQ(TextFact(store.all(before)[0]).text(), "ok");
    }
}

TEST(BaseFileReader, RealsWithoutExponentUpToTheLargestAndNotBeyond) {
    const std::string largest = "argument_znany(\"x\",1" + std::string(308, '0') + ")";
    FactStore store;
    ASSERT_FALSE(read(store, Section::Models, largest + "\n"));
    EXPECT_EQ(KnownArgument(store.all(Kind::argument_znany)[0]).value(), 1e308);
    for (std::size_t zeros : {309u, 400u}) {
        const std::string line = "argument_znany(\"x\",1" + std::string(zeros, '0') + ")";
        FactStore too_large;
        const auto error = read(too_large, Section::Models, line + "\n");
        ASSERT_TRUE(error) << zeros;
        EXPECT_EQ(error->kind, ReadErrorKind::IllegalNumber);
        EXPECT_EQ(error->position, 20u);
        EXPECT_TRUE(too_large.all(Kind::argument_znany).empty());
    }
}

TEST(BaseFileReader, LineEndsEmptyLinesAndCarriageReturns) {
    FactStore store;
    EXPECT_FALSE(read(store, Section::Rules, "fakt(\"a\")\r\nfakt(\"b\")\r\n"));
    // Old editors end lines with a CR alone; CRs doubled before an LF are one line end.
    EXPECT_FALSE(read(store, Section::Rules, "fakt(\"c\")\rfakt(\"d\")\r"));
    EXPECT_FALSE(read(store, Section::Rules, "fakt(\"e\")\r\r\nfakt(\"f\")"));
    EXPECT_FALSE(read(store, Section::Rules, ""));
    ASSERT_EQ(store.all(Kind::fakt).size(), 6u);
    EXPECT_EQ(TextFact(store.all(Kind::fakt)[2]).text(), "c");
    EXPECT_EQ(TextFact(store.all(Kind::fakt)[3]).text(), "d");
    EXPECT_EQ(TextFact(store.all(Kind::fakt)[5]).text(), "f");
    const auto lone_cr_between = read(store, Section::Rules, "fakt(\"g\")\r\rfakt(\"h\")");
    ASSERT_TRUE(lone_cr_between);
    EXPECT_EQ(lone_cr_between->kind, ReadErrorKind::EmptyLine);

    const auto trailing = read(store, Section::Rules, "fakt(\"a\")\r\n\r\n");
    ASSERT_TRUE(trailing);
    EXPECT_EQ(trailing->kind, ReadErrorKind::EmptyLine);
    EXPECT_EQ(trailing->position, 0u);
    EXPECT_EQ(trailing->line_number, 2u);
    EXPECT_FALSE(trailing->is_syntax());

    const auto middle = read(store, Section::Rules, "fakt(\"a\")\n\nfakt(\"b\")");
    ASSERT_TRUE(middle);
    EXPECT_EQ(middle->kind, ReadErrorKind::EmptyLine);
}

TEST(BaseFileReader, SurvivesHostileBytes) {
    FactStore store;
    // NUL outside and inside strings, undefined and high bytes kept in strings.
    auto error = read_section_bytes(store, Section::Rules, std::string("fa\0kt(\"a\")", 10));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, ReadErrorKind::UnknownFunctor);
    error = read_section_bytes(store, Section::Rules, std::string("fakt(\"a\0b\")", 11));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, ReadErrorKind::StringExpected);
    EXPECT_EQ(error->position, 8u);
    ASSERT_FALSE(read_section_bytes(store, Section::Rules, "fakt(\"\x81\x98\xFF\")"));
    EXPECT_EQ(*utf8_to_cp1250(TextFact(store.all(Kind::fakt).back()).text()), "\x81\x98\xFF");

    // A 10 MB line: an unclosed list of strings, then an unclosed string.
    std::string huge = "reguła(1,\"a\",[";
    while (huge.size() < 10'000'000) huge += "\"warunek\",";
    error = read(store, Section::Rules, huge);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, ReadErrorKind::StringExpected);
    EXPECT_GT(error->position, 29999u);
    // Only the characters around the caret are kept and shown, never the whole line.
    // (the error is at the end of the line).
    EXPECT_EQ(error->shown_line(), "..." + huge.substr(huge.size() - kErrorExcerptBefore));
    EXPECT_EQ(error->caret_column(), 3 + kErrorExcerptBefore);
    error = read_section_bytes(store, Section::Rules, std::string(1'000'000, '\0'));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->shown_line(), std::string(kErrorExcerptBefore, '\0') + "...");
    EXPECT_EQ(error->caret_column(), error->position - 1);
    std::string open_string = "fakt(\"" + std::string(10'000'000, 'x');
    error = read_section_bytes(store, Section::Rules, open_string);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, ReadErrorKind::StringExpected);
}

TEST(BaseFileReader, RandomMutationsOfValidLinesNeverBreakTheReader) {
    const std::string seed = cp(
        "reguła(1,\"grypa\",[\"gorączka\",\"n\\\"x\"],1)\r\nmodel_wielomianowy(2,\"w\",\"y\",\"x\","
        "[\"1\"],[0,-2],0)\r\nargument_znany(\"x\",-1.5e2)\r\n");
    unsigned state = 7;
    const auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return state >> 8;
    };
    const char alphabet[] = "()[],\"\\ \t\r\n0-9eE.+nNA\0\xB3\xFF";
    for (int round = 0; round < 20000; ++round) {
        std::string bytes = seed;
        for (int m = 0; m < 3; ++m) {
            const std::size_t at = next() % bytes.size();
            switch (next() % 3) {
                case 0:
                    bytes[at] = alphabet[next() % (sizeof alphabet - 1)];
                    break;
                case 1:
                    bytes.erase(at, 1);
                    break;
                default:
                    bytes.insert(at, 1, alphabet[next() % (sizeof alphabet - 1)]);
            }
        }
        for (Section section : {Section::Rules, Section::Models}) {
            FactStore store;
            const auto error = read_section_bytes(store, section, bytes);
            if (error && error->is_syntax()) {
                EXPECT_GE(error->position, 1u);
                EXPECT_LE(error->position, error->line_offset + utf8_length(error->line) + 1);
            }
        }
    }
}

// A large file reads whole; its speed is measured by the benchmarks (bench/), not here.
TEST(BaseFileReader, ReadsAMillionLines) {
    std::string bytes;
    bytes.reserve(20'000'000);
    for (int i = 0; i < 1'000'000; ++i)
        bytes += "fakt(\"w\xB3" + std::to_string(i % 97) + "\")\r\n";
    FactStore store;
    ASSERT_FALSE(read_section_bytes(store, Section::Rules, bytes));
    EXPECT_EQ(store.all(Kind::fakt).size(), 1'000'000u);
    EXPECT_EQ(TextFact(store.all(Kind::fakt)[5]).text(), "wł5");
    // Interned across batches stored on another thread, a name still has one text.
    EXPECT_TRUE(TextFact(store.all(Kind::fakt)[5])
                    .text()
                    .same_text_object(TextFact(store.all(Kind::fakt)[5 + 97 * 9'000]).text()));
}

TEST(BaseFileReader, MissingFilesAndDirectoriesAreInputOutputErrors) {
    testing::TempDir dir;
    FactStore store;
    auto error = read_section(store, Section::Rules, dir.file("brak.BRD"));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, ReadErrorKind::InputOutput);
    error = read_section(store, Section::Rules, dir.path().string());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, ReadErrorKind::InputOutput);
    EXPECT_FALSE(error->is_syntax());
}

// A file is parsed as it is read, piece by piece: line ends that straddle two pieces (a CR at
// the end of one, its LF at the start of the next), long runs of lines ended by a lone CR and the
// last line without an end give the same facts and the same error line as the bytes read whole.
TEST(BaseFileReader, AFileReadInPiecesGivesWhatItsBytesGiveWhole) {
    const std::string ends[] = {"\r\n", "\n", "\r\r\n"};
    std::string bytes;
    // A CR LF exactly across the first boundary of 65,536 bytes, and around later ones.
    const std::string pad = "fakt(\"\xB3\xB9ka\")";
    while (bytes.size() + 64 < 65'536) bytes += pad + "\n";
    bytes += "fakt(\"" + std::string(65'536 - bytes.size() - 9, 'x') + "\")\r\n";
    ASSERT_EQ(bytes[65'535], '\r');
    ASSERT_EQ(bytes[65'536], '\n');
    for (int i = 0; bytes.size() < 300'000; ++i)
        bytes += cp("reguła(") + std::to_string(i) + ",\"w" + std::string(i % 200, 'a') +
                 "\",[\"b\",\"nc\"],1)" + ends[i % 3];
    for (int i = 0; i < 10'000; ++i) bytes += "fakt(\"cr" + std::to_string(i) + "\")\r";
    bytes += "fakt(\"ostatni\")";
    testing::TempDir dir;
    FactStore whole, pieces;
    ASSERT_FALSE(read_section_bytes(whole, Section::Rules, bytes));
    ASSERT_FALSE(read_section(pieces, Section::Rules, dir.write("a.BRD", bytes)));
    for (Kind kind : {Kind::fakt, Kind::regula}) EXPECT_EQ(pieces.all(kind), whole.all(kind));
    EXPECT_EQ(TextFact(pieces.all(Kind::fakt).back()).text(), "ostatni");

    bytes.insert(bytes.find(cp("reguła(900,")), cp("reguła(x)\n"));
    FactStore store;
    const auto in_pieces = read_section(store, Section::Rules, dir.write("b.BRD", bytes));
    const auto in_whole = read_section_bytes(store, Section::Rules, bytes);
    ASSERT_TRUE(in_pieces);
    ASSERT_TRUE(in_whole);
    EXPECT_EQ(in_pieces->line_number, in_whole->line_number);
    EXPECT_EQ(in_pieces->kind, ReadErrorKind::IllegalNumber);
    EXPECT_EQ(in_pieces->line, "reguła(x)");
}

// One fact of every kind of every section, with strings that need escaping and non-ASCII text.
FactStore store_with_every_kind() {
    FactStore store;
    const std::string tricky = "zażółć \"gęślą\" \\ jaźń\nnowa\rlinia \x7f";
    for (std::size_t k = 0; k < kKindCount; ++k) {
        const Kind kind = static_cast<Kind>(k);
        Fact fact{kind, {}};
        int n = 0;
        for (FieldType type : kind_info(kind).fields) {
            ++n;
            switch (type) {
                case FieldType::Integer:
                    fact.fields.emplace_back(std::int32_t{-2147483647 - 1 + n});
                    break;
                case FieldType::Real:
                    fact.fields.emplace_back(-1.0 / 3.0);
                    break;
                case FieldType::String:
                    fact.fields.emplace_back(tricky + std::to_string(n));
                    break;
                case FieldType::StringList:
                    fact.fields.emplace_back(StringList{tricky, "", "n"});
                    break;
                case FieldType::IntegerList:
                    fact.fields.emplace_back(IntegerList{0, -1, 2147483647});
                    break;
            }
        }
        store.add(fact);
        store.add(fact);
    }
    return store;
}

TEST(BaseFileWriter, EverySectionRoundTripsByteForByte) {
    testing::TempDir dir;
    const FactStore original = store_with_every_kind();
    for (std::size_t s = 0; s < kSectionCount; ++s) {
        const auto section = static_cast<Section>(s);
        const std::string path = dir.file("sekcja" + std::to_string(s) + ".BRD");
        ASSERT_TRUE(write_section(original, section, path).ok);
        const std::string first = dir.read("sekcja" + std::to_string(s) + ".BRD");

        FactStore copy;
        ASSERT_FALSE(read_section(copy, section, path)) << "section " << s;
        for (Kind kind : section_kinds(section)) {
            EXPECT_EQ(copy.all(kind), original.all(kind)) << kind_info(kind).functor;
        }
        ASSERT_TRUE(write_section(copy, section, path).ok);
        EXPECT_EQ(dir.read("sekcja" + std::to_string(s) + ".BRD"), first);
        EXPECT_EQ(first.find('\n'), first.find("\r\n") + 1);
    }
}

TEST(BaseFileWriter, RefusedWriteLeavesTheOldFileAlone) {
    testing::TempDir dir;
    const std::string path = dir.write("REstary.BRD", "fakt(\"stary\")\r\n");
    FactStore store;
    store.add(make_text_fact(Kind::fakt, "znak spoza strony kodowej: ☃"));
    const auto result = write_section(store, Section::Rules, path);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("☃"), std::string::npos);
    EXPECT_EQ(dir.read("REstary.BRD"), "fakt(\"stary\")\r\n");
    EXPECT_FALSE(write_section(store, Section::Names, dir.file("brak/katalogu/plik.BRD")).ok);
}

}  // namespace
}  // namespace xamo
