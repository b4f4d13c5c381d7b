// Fuzz target: the base-file reader of every section. The first byte chooses the section; the
// rest is the file. A file that reads completely must write and read back to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "kb/base_file.h"
#include "kb/codec.h"

using namespace xamo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    constexpr Section kSections[] = {Section::Rules,  Section::Models,   Section::Constraints,
                                     Section::Advice, Section::Graphics, Section::Sounds,
                                     Section::Report};
    const Section section = kSections[data[0] % 7];
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    FactStore store;
    if (read_section_bytes(store, section, bytes)) return 0;
    const auto written = utf8_to_cp1250(section_text(store, section));
    if (!written) std::abort();  // everything read must be writable again
    FactStore again;
    if (read_section_bytes(again, section, *written)) std::abort();
    if (section_text(again, section) != section_text(store, section)) std::abort();
    return 0;
}
