// Stored reports, descriptions and summaries read back for the "Opisy i raporty" menu.
#pragma once

#include <string>

#include "kb/facts.h"

namespace xamo {

// A text file read whole from Windows-1250, or the reason it could not be read (Polish).
struct TextRead {
    bool ok = false;
    std::string text;  // the text, or the reason
};
TextRead read_text_file(const std::string& path);

// Reads a report file into the `tekst_raportu` facts (replacing the ones in the store) and
// returns the text of the first one, with its line breaks. A file that does not follow the base
// file syntax, or holds no report text, is refused with the reason.
TextRead read_report(FactStore& store, const std::string& path);

}  // namespace xamo
