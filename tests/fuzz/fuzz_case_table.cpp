// Fuzz target: a case table read from untrusted bytes, checked against a fixed vocabulary, and the
// transcript diff of its two halves. Records are never empty, a table is rows or a note, and two
// transcripts differ in no line exactly when their lines are equal.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "regression/case_table.h"
#include "regression/transcript_diff.h"

using namespace xamo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto records = csv_records(bytes);
    for (const auto& record : records) {
        if (record.empty()) std::abort();
    }
    const CaseVocabulary vocabulary{{"pogoda", "czas"}, {"temperatura"}};
    const auto rows = case_rows(records, vocabulary);
    if (const auto* table = std::get_if<std::vector<CaseRow>>(&rows)) {
        if (table->size() + 1 != records.size()) std::abort();
    }
    const auto a = transcript_lines(bytes.substr(0, size / 2));
    const auto b = transcript_lines(bytes.substr(size / 2));
    const TranscriptDiff diff = diff_lines(a, b);
    if ((diff.differing_lines == 0) != (a == b)) std::abort();
    (void)format_diff(diff);
    return 0;
}
