// The operation table of the models: the arithmetic of basic, extended, linear and polynomial
// models and the relations. Pure functions of values; no dialogs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kb/model_symbols.h"

namespace xamo {

// What one evaluation gave. A warning still gives a value (the model is applied); an error gives
// none and names the problem for the note; NoResult gives none silently.
struct Outcome {
    enum class Status { Value, NoResult, Error } status = Status::NoResult;
    double value = 0;
    enum class Warning { None, DivisionByZero, NegativeRoot } warning = Warning::None;
    std::string problem;  // Polish, for Status::Error

    bool ok() const { return status == Status::Value; }
    static Outcome of(double value, Warning warning = Warning::None);
    static Outcome none() { return {}; }
    static Outcome error(std::string problem);
};

// The nearest integer, halves away from zero; nothing outside the 32-bit signed range.
std::optional<std::int32_t> nearest(double x);

Outcome wykonaj(double v1, double v2, std::string_view symbol);
Outcome wykonaj_r(const std::vector<double>& values, std::string_view operation);
Outcome wykonaj_liniowy(const std::vector<double>& coefficients,
                        const std::vector<double>& variables);
Outcome wykonaj_wielomianowy(const std::vector<std::int32_t>& powers,
                             const std::vector<double>& coefficients, double x);

bool relacja(std::string_view relation, double a, double b);
bool relacja_r(std::string_view relation, double a, double b, double c);
// The two relations of an extended relation: "<,<=" gives "<" and "<=".
std::pair<std::string, std::string> split_extended_relation(std::string_view relation);

}  // namespace xamo
