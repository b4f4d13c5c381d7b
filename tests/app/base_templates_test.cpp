#include "app/base_templates.h"

#include <gtest/gtest.h>

#include "kb/base_file.h"
#include "kb/codec.h"
#include "kb/facts.h"
#include "loading/base_texts.h"

namespace xamo {
namespace {

// Reads UTF-8 text as a file of the kind's section; the facts read are added to `store`.
std::optional<ReadError> read_as(FactStore& store, BaseKind kind, const std::string& text,
                                 std::vector<FactLine>* lines) {
    const auto bytes = utf8_to_cp1250(text);
    EXPECT_TRUE(bytes.has_value()) << text;
    return read_section_bytes(store, base_texts(kind).section, bytes.value_or(""), lines);
}

// Each template, as the new file holds it, loads without a syntax error as a base of its kind
// and holds nothing but remarks; the examples in it (or, for a kind without remarks, in its hint)
// are themselves facts of that kind, so the template teaches the syntax the reader takes.
TEST(BaseTemplates, EachLoadsAsItsKindAndItsExamplesAreFactsOfTheKind) {
    for (const BaseKind kind : kAllBaseKinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        const BaseTemplate shown = base_template(kind);
        EXPECT_FALSE(shown.text.empty() && shown.hint.empty());
        FactStore store;
        std::vector<FactLine> lines;
        ASSERT_EQ(read_as(store, kind, shown.text, &lines), std::nullopt);
        std::string examples;
        for (const FactLine& line : lines) {
            EXPECT_TRUE(kind_info(line.kind).functor.starts_with("rem_"));
        }
        if (!lines.empty()) {
            // One remark kind; after the heading, one example a remark.
            const auto& remarks = store.all(lines.front().kind);
            ASSERT_EQ(remarks.size(), lines.size());
            for (std::size_t i = 1; i < remarks.size(); ++i) {
                examples += std::get<Name>(remarks[i].fields.front()) + "\n";
            }
        }
        if (shown.text.empty()) {
            // The hint's first line is its heading.
            examples = shown.hint.substr(shown.hint.find('\n') + 1);
        }
        FactStore example_store;
        std::vector<FactLine> example_lines;
        ASSERT_EQ(read_as(example_store, kind, examples, &example_lines), std::nullopt) << examples;
        EXPECT_FALSE(example_lines.empty());
        for (const FactLine& line : example_lines) {
            EXPECT_FALSE(kind_info(line.kind).functor.starts_with("rem_"));
        }
    }
}

}  // namespace
}  // namespace xamo
