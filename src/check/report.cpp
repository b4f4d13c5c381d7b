#include "check/report.h"

#include <algorithm>
#include <cstdio>

#include "kb/codec.h"

namespace xamo {
namespace {

// Any text as well-formed UTF-8: a byte that is no part of a UTF-8 character is read as
// Windows-1250 (a path named on Windows inside a message that is UTF-8 otherwise).
std::string clean(const std::string& text) {
    if (valid_utf8(text)) return text;
    std::string out;
    for (std::size_t pos = 0; pos < text.size();) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        const std::size_t length = lead < 0x80    ? 1
                                   : lead >= 0xF0 ? 4
                                   : lead >= 0xE0 ? 3
                                   : lead >= 0xC0 ? 2
                                                  : 0;
        if (length > 0 && pos + length <= text.size() &&
            valid_utf8(std::string_view(text).substr(pos, length))) {
            out.append(text, pos, length);
            pos += length;
        } else {
            out += cp1250_to_utf8(std::string_view(text).substr(pos, 1));
            ++pos;
        }
    }
    return out;
}

bool is_control(char32_t cp) { return cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp <= 0x9F); }

// Control characters of a base (ESC and the like) never reach the terminal raw.
std::string escaped(const std::string& text) {
    const std::string utf8 = clean(text);
    std::string out;
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t cp = utf8_next(utf8, pos);
        if (!is_control(cp)) {
            utf8_append(out, cp);
            continue;
        }
        char code[8];
        std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned>(cp));
        out += code;
    }
    return out;
}

std::string json_string(const std::string& text) {
    const std::string utf8 = clean(text);
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char code[8];
                    std::snprintf(code, sizeof code, "\\u%04x", c);
                    out += code;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
    return out;
}

std::string json_strings(const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) out += ", ";
        out += json_string(items[i]);
    }
    return out + "]";
}

std::string number_or_null(std::size_t n) { return n > 0 ? std::to_string(n) : "null"; }

std::string location_prefix(const Location& location) {
    std::string text = escaped(location.file);
    if (location.line > 0) {
        text += ':' + std::to_string(location.line);
        if (location.column > 0) text += ':' + std::to_string(location.column);
    }
    return text;
}

std::size_t count(const CheckResult& result, Severity severity) {
    return static_cast<std::size_t>(
        std::count_if(result.findings.begin(), result.findings.end(),
                      [severity](const Finding& f) { return f.severity == severity; }));
}

// --- SARIF -------------------------------------------------------------------------------------

const char* sarif_level(Severity severity) {
    switch (severity) {
        case Severity::Error:
            return "error";
        case Severity::Warning:
            return "warning";
        case Severity::Note:
            return "note";
    }
    return "none";
}

// A relative reference in URI syntax: separators kept, every other byte outside the unreserved
// set percent-encoded.
std::string uri_of(const std::string& path) {
    static const char* hex = "0123456789ABCDEF";
    std::string uri;
    for (unsigned char c : clean(path)) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~' ||
                           c == '/';
        if (plain) {
            uri.push_back(static_cast<char>(c));
        } else {
            uri.push_back('%');
            uri.push_back(hex[c >> 4]);
            uri.push_back(hex[c & 15]);
        }
    }
    return uri;
}

std::string sarif_location(const Location& location) {
    std::string json = "{\"physicalLocation\": {\"artifactLocation\": {\"uri\": " +
                       json_string(uri_of(location.file)) + "}";
    if (location.line > 0) {
        json += ", \"region\": {\"startLine\": " + std::to_string(location.line);
        if (location.column > 0) json += ", \"startColumn\": " + std::to_string(location.column);
        json += "}";
    }
    json += "}";
    if (!location.message.empty())
        json += ", \"message\": {\"text\": " + json_string(location.message) + "}";
    return json + "}";
}

std::string sarif_rules() {
    std::string json;
    const auto& kinds = finding_kinds();
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const FindingKind& kind = kinds[i];
        if (i) json += ",\n";
        json += "        {\"id\": " + json_string(std::string(kind.code)) +
                ", \"shortDescription\": {\"text\": " + json_string(std::string(kind.title)) +
                "}, \"fullDescription\": {\"text\": " + json_string(std::string(kind.help)) +
                "}, \"help\": {\"text\": " + json_string(std::string(kind.help)) +
                "}, \"defaultConfiguration\": {\"level\": \"" + sarif_level(kind.severity) + "\"}}";
    }
    return json;
}

std::size_t rule_index(const std::string& code) {
    const auto& kinds = finding_kinds();
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        if (kinds[i].code == code) return i;
    }
    return 0;
}

std::string sarif_result(const Finding& finding) {
    std::string json = "        {\"ruleId\": " + json_string(finding.code) +
                       ", \"ruleIndex\": " + std::to_string(rule_index(finding.code)) +
                       ", \"level\": \"" + sarif_level(finding.severity) +
                       "\", \"message\": {\"text\": " + json_string(finding.message) +
                       "}, \"locations\": [" + sarif_location(finding.location) + "]";
    if (!finding.related.empty()) {
        json += ", \"relatedLocations\": [";
        for (std::size_t i = 0; i < finding.related.size(); ++i) {
            if (i) json += ", ";
            // Related locations carry ids of their own.
            std::string related = sarif_location(finding.related[i]);
            related.insert(1, "\"id\": " + std::to_string(i) + ", ");
            json += related;
        }
        json += "]";
    }
    if (!finding.evidence.empty())
        json += ", \"properties\": {\"evidence\": " + json_strings(finding.evidence) + "}";
    return json + "}";
}

}  // namespace

int check_exit_code(const CheckResult& result) {
    if (result.incomplete) return kCheckIncomplete;
    if (result.unreadable) return kCheckUnreadable;
    return count(result, Severity::Error) > 0 ? kCheckErrors : kCheckClean;
}

std::string finding_text(const Finding& finding) {
    std::string text = location_prefix(finding.location) + ": " + severity_word(finding.severity) +
                       ": " + escaped(finding.message) + " [" + finding.code + "]\n";
    if (!finding.source_line.empty()) {
        text += "    " + escaped(finding.source_line) + "\n";
        if (finding.location.column > 0)
            text += "    " + std::string(finding.source_caret, ' ') + "^\n";
    }
    for (const auto& line : finding.evidence) text += "    " + escaped(line) + "\n";
    for (const auto& related : finding.related) {
        text += location_prefix(related) + ": " + severity_word(Severity::Note) + ": " +
                escaped(related.message) + "\n";
    }
    return text;
}

std::string summary_text(const CheckResult& result, std::chrono::milliseconds elapsed) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.2f", static_cast<double>(elapsed.count()) / 1000.0);
    return "podsumowanie: błędy: " + std::to_string(count(result, Severity::Error)) +
           ", ostrzeżenia: " + std::to_string(count(result, Severity::Warning)) +
           ", pominięte: " + std::to_string(result.suppressed) +
           ", pliki: " + std::to_string(result.files_checked) + ", czas: " + seconds + " s\n";
}

std::string finding_json(const Finding& finding) {
    std::string json = "{\"file\": " + json_string(finding.location.file) +
                       ", \"line\": " + number_or_null(finding.location.line) +
                       ", \"column\": " + number_or_null(finding.location.column) +
                       ", \"severity\": " + json_string(severity_word(finding.severity)) +
                       ", \"code\": " + json_string(finding.code) +
                       ", \"text\": " + json_string(finding.message) +
                       ", \"evidence\": " + json_strings(finding.evidence) + ", \"related\": [";
    for (std::size_t i = 0; i < finding.related.size(); ++i) {
        const Location& related = finding.related[i];
        if (i) json += ", ";
        json += "{\"file\": " + json_string(related.file) +
                ", \"line\": " + number_or_null(related.line) +
                ", \"column\": " + number_or_null(related.column) +
                ", \"text\": " + json_string(related.message) + "}";
    }
    return json + "]}\n";
}

std::string sarif_log(const CheckResult& result) {
    std::string json =
        "{\n  \"$schema\": \"https://json.schemastore.org/sarif-2.1.0.json\",\n"
        "  \"version\": \"2.1.0\",\n  \"runs\": [{\n"
        "    \"tool\": {\"driver\": {\"name\": \"xamo_rd\", \"rules\": [\n" +
        sarif_rules() + "\n    ]}},\n    \"invocations\": [{\"executionSuccessful\": " +
        (result.incomplete ? "false" : "true") + "}],\n    \"results\": [\n";
    for (std::size_t i = 0; i < result.findings.size(); ++i) {
        if (i) json += ",\n";
        json += sarif_result(result.findings[i]);
    }
    return json + "\n    ]\n  }]\n}\n";
}

}  // namespace xamo
