#include "media/documents.h"

#include "kb/base_file.h"
#include "kb/codec.h"
#include "kb/files.h"

namespace xamo {

TextRead read_text_file(const std::string& path) {
    std::string bytes;
    const FileResult read = read_file_bytes(path, bytes);
    if (!read.ok) return {false, read.error};
    return {true, cp1250_to_utf8(bytes)};
}

TextRead read_report(FactStore& store, const std::string& path) {
    store.remove_all(Kind::tekst_raportu);
    const std::string name = file_name_of(path);
    if (const auto error = read_section(store, Section::Report, path)) {
        if (error->kind == ReadErrorKind::InputOutput) return {false, error->message()};
        std::string reason = "Plik " + name + " nie jest raportem.\n" + error->message();
        if (error->line_number > 0) reason += " (linia " + std::to_string(error->line_number) + ")";
        return {false, reason};
    }
    const Fact* first = store.first(Kind::tekst_raportu);
    if (!first) return {false, "Plik " + name + " nie zawiera tekstu raportu."};
    return {true, TextFact(*first).text().str()};
}

}  // namespace xamo
