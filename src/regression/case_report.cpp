#include "regression/case_report.h"

#include <cstdio>
#include <type_traits>

namespace xamo {
namespace {

template <typename T>
std::string as_text(const T& item) {
    if constexpr (std::is_same_v<T, std::string>) {
        return item;
    } else {
        return std::to_string(item);
    }
}

template <typename T>
std::string listed(const std::vector<T>& items, const std::string& separator = ", ") {
    if (items.empty()) return "-";
    std::string text;
    for (const auto& item : items) text += (text.empty() ? "" : separator) + as_text(item);
    return text;
}

std::string json_string(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            quoted += escaped;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

template <typename T>
std::string json_array(const std::vector<T>& items) {
    std::string text = "[";
    for (const auto& item : items) {
        if (text.size() > 1) text += ", ";
        if constexpr (std::is_same_v<T, std::string>) {
            text += json_string(item);
        } else {
            text += std::to_string(item);
        }
    }
    return text + "]";
}

const char* status_name(CaseOutcome::Status status) {
    switch (status) {
        case CaseOutcome::Status::Pass:
            return "pass";
        case CaseOutcome::Status::Fail:
            return "fail";
        case CaseOutcome::Status::Unanswered:
            break;
    }
    return "unanswered";
}

std::size_t count(const CaseReport& report, CaseOutcome::Status status) {
    std::size_t n = 0;
    for (const auto& outcome : report.outcomes) n += outcome.status == status ? 1 : 0;
    return n;
}

}  // namespace

std::string case_report_text(const CaseReport& report) {
    std::string text;
    for (const auto& outcome : report.outcomes) {
        text += "wiersz " + std::to_string(outcome.line) + ": ";
        switch (outcome.status) {
            case CaseOutcome::Status::Pass:
                text += "zgodny";
                break;
            case CaseOutcome::Status::Fail:
                text += "niezgodny";
                if (!outcome.missing.empty())
                    text += "; nieustalone oczekiwane: " + listed(outcome.missing);
                if (!outcome.unwanted.empty())
                    text += "; ustalone wykluczone: " + listed(outcome.unwanted);
                break;
            case CaseOutcome::Status::Unanswered:
                text += "brak odpowiedzi na pytanie: " + outcome.question;
                break;
        }
        text += "\n";
    }
    const CaseCoverage& c = report.coverage;
    text += "Przypadków: " + std::to_string(report.outcomes.size()) +
            ", zgodnych: " + std::to_string(count(report, CaseOutcome::Status::Pass)) +
            ", niezgodnych: " + std::to_string(count(report, CaseOutcome::Status::Fail)) +
            ", bez odpowiedzi: " + std::to_string(count(report, CaseOutcome::Status::Unanswered)) +
            ".\n\nPokrycie bazy:\n";
    text += "  reguły zastosowane:               " + listed(c.rules_fired) + "\n";
    text += "  reguły nigdy niezastosowane:      " + listed(c.rules_never) + "\n";
    text += "  modele zastosowane:               " + listed(c.models_fired) + "\n";
    text += "  modele nigdy niezastosowane:      " + listed(c.models_never) + "\n";
    text += "  wnioski nieustalone w przypadkach: " + listed(c.conclusions_never, " | ") + "\n";
    return text;
}

std::string case_report_json(const CaseReport& report) {
    std::string text = "{\n  \"rows\": [";
    bool first = true;
    for (const auto& outcome : report.outcomes) {
        text += first ? "\n" : ",\n";
        first = false;
        text += "    {\"row\": " + std::to_string(outcome.line) + ", \"status\": \"" +
                status_name(outcome.status) + "\", \"missing\": " + json_array(outcome.missing) +
                ", \"unwanted\": " + json_array(outcome.unwanted) +
                ", \"question\": " + json_string(outcome.question) +
                ", \"established\": " + json_array(outcome.established) + "}";
    }
    const CaseCoverage& c = report.coverage;
    text += "\n  ],\n  \"summary\": {\"rows\": " + std::to_string(report.outcomes.size()) +
            ", \"pass\": " + std::to_string(count(report, CaseOutcome::Status::Pass)) +
            ", \"fail\": " + std::to_string(count(report, CaseOutcome::Status::Fail)) +
            ", \"unanswered\": " + std::to_string(count(report, CaseOutcome::Status::Unanswered)) +
            "},\n  \"coverage\": {\"rules_fired\": " + json_array(c.rules_fired) +
            ", \"rules_never\": " + json_array(c.rules_never) +
            ", \"models_fired\": " + json_array(c.models_fired) +
            ", \"models_never\": " + json_array(c.models_never) +
            ", \"conclusions_never\": " + json_array(c.conclusions_never) + "}\n}\n";
    return text;
}

}  // namespace xamo
