#include "generators.h"

#include "kb/codec.h"

namespace xamo::bench {

std::string generate_rule_base(int rules) {
    std::string text;
    text.reserve(static_cast<std::size_t>(rules) * 90);
    text += "rem_reguła(\"baza wygenerowana: zażółć gęślą jaźń\")\r\n";
    unsigned state = 12345;
    const auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % 5000;
    };
    for (int i = 1; i <= rules; ++i) {
        text += "reguła(" + std::to_string(i) + ",\"wniosek_źródłowy_" + std::to_string(i) + "\",[";
        const int conditions = 3 + i % 3;
        for (int c = 0; c < conditions; ++c) {
            if (c) text += ',';
            if (c == 0 && i > 10) {
                text += "\"wniosek_źródłowy_" + std::to_string(i - 10) + "\"";
            } else {
                text += (c % 2 ? "\"nwarunek_ąęłńóśźż_" : "\"warunek_ąęłńóśźż_") +
                        std::to_string(next()) + "\"";
            }
        }
        text += "]," + std::to_string(i % 2) + ")\r\n";
    }
    return *utf8_to_cp1250(text);
}

}  // namespace xamo::bench
