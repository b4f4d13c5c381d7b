#include "kb/operations.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace xamo {
namespace {

const char* const kOutOfRange = "wartość poza zakresem liczb całkowitych 32-bitowych";

// x to the power n (n >= 0) by successive multiplications; long runs by squaring, which gives
// the same value wherever the product neither overflows nor underflows.
double power(double x, std::int64_t n) {
    double result = 1;
    if (n <= 1024) {
        for (std::int64_t i = 0; i < n; ++i) result *= x;
        return result;
    }
    double base = x;
    while (n > 0) {
        if (n & 1) result *= base;
        base *= base;
        n >>= 1;
    }
    return result;
}

Outcome checked(double value) {
    if (!std::isfinite(value)) return Outcome::error("wynik nie jest liczbą skończoną");
    return Outcome::of(value);
}

// A choice among values is refused when any of them is not finite: min(NaN, 1) must not pass
// as 1.
Outcome chosen(double value, std::initializer_list<double> among) {
    for (const double v : among)
        if (!std::isfinite(v)) return checked(v);
    return checked(value);
}

Outcome integer_division(double v1, double v2, bool remainder) {
    const auto a = nearest(v1);
    const auto b = nearest(v2);
    if (!a || !b) return Outcome::error(kOutOfRange);
    if (*b == 0) return Outcome::error("dzielenie przez 0");
    const std::int64_t x = *a, y = *b;  // INT32_MIN / -1 fits in 64 bits
    return Outcome::of(static_cast<double>(remainder ? x % y : x / y));
}

Outcome raise(double v1, double v2) {
    const auto n = nearest(v2);
    if (!n) return Outcome::error(kOutOfRange);
    if (*n < 0) return Outcome::error("ujemny wykładnik potęgi N");
    return checked(power(v1, *n));
}

Outcome round_to_places(double v1, double v2) {
    const auto n = nearest(v2);
    if (!n) return Outcome::error(kOutOfRange);
    if (*n < 0) return Outcome::error("ujemna liczba miejsc po przecinku N");
    const double m = power(10, *n);
    return checked(std::floor(v1 * m + 0.5) / m);
}

Outcome logarithm(double v1, bool decimal) {
    if (v1 <= 0) return Outcome::error("logarytm z liczby niedodatniej");
    return checked(decimal ? std::log10(v1) : std::log(v1));
}

Outcome two_argument(double v1, double v2, std::string_view s) {
    if (s == "+") return checked(v1 + v2);
    if (s == "-") return checked(v1 - v2);
    if (s == "*") return checked(v1 * v2);
    if (s == "/") {
        if (v2 == 0) return Outcome::of(1, Outcome::Warning::DivisionByZero);
        return checked(v1 / v2);
    }
    if (s == "div") return integer_division(v1, v2, false);
    if (s == "mod") return integer_division(v1, v2, true);
    if (s == "min") return chosen(v1 <= v2 ? v1 : v2, {v1, v2});
    if (s == "max") return chosen(v1 > v2 ? v1 : v2, {v1, v2});
    if (s == "%") {
        if (v2 == 0) return Outcome::error("dzielenie przez 0");
        return checked(100 * v1 / v2);
    }
    if (s == "A^N") return raise(v1, v2);
    if (s == "zaokrąglenie_do_N") return round_to_places(v1, v2);
    if (s == "=") return v2 == 0 ? checked(v1) : Outcome::none();
    return Outcome::none();
}

Outcome function(double v1, std::string_view s) {
    if (s == "sqrt") {
        if (v1 < 0 && std::isfinite(v1))
            return Outcome::of(std::sqrt(-v1), Outcome::Warning::NegativeRoot);
        return checked(std::sqrt(v1));
    }
    if (s == "sin") return checked(std::sin(v1));
    if (s == "cos") return checked(std::cos(v1));
    if (s == "tan") return checked(std::tan(v1));
    if (s == "arctan") return checked(std::atan(v1));
    if (s == "log") return logarithm(v1, true);
    if (s == "ln") return logarithm(v1, false);
    if (s == "exp") return checked(std::exp(v1));
    if (s == "round") return checked(std::floor(v1 + 0.5));
    if (s == "trunc") return checked(std::trunc(v1));
    if (s == "abs") return checked(std::fabs(v1));
    return Outcome::none();
}

}  // namespace

Outcome Outcome::of(double value, Warning warning) {
    Outcome out;
    out.status = Status::Value;
    out.value = value;
    out.warning = warning;
    return out;
}

Outcome Outcome::error(std::string problem) {
    Outcome out;
    out.status = Status::Error;
    out.problem = std::move(problem);
    return out;
}

std::optional<std::int32_t> nearest(double x) {
    if (!std::isfinite(x)) return std::nullopt;
    const double rounded = std::trunc(x >= 0 ? x + 0.5 : x - 0.5);
    if (rounded < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

Outcome wykonaj(double v1, double v2, std::string_view symbol) {
    const auto role = basic_symbol_role(symbol);
    if (role == SymbolRole::TwoArgument) return two_argument(v1, v2, symbol);
    if (role == SymbolRole::Function) return v2 == 0 ? function(v1, symbol) : Outcome::none();
    return Outcome::none();
}

Outcome wykonaj_r(const std::vector<double>& values, std::string_view operation) {
    if (operation == "+") {
        double sum = 0;
        for (double v : values) sum += v;
        return checked(sum);
    }
    if (operation == "*") {
        double product = 1;
        for (double v : values) product *= v;
        return checked(product);
    }
    if (values.empty()) return Outcome::none();
    const auto not_finite =
        std::find_if(values.begin(), values.end(), [](double v) { return !std::isfinite(v); });
    if (not_finite != values.end()) return checked(*not_finite);
    if (operation == "min_list")
        return Outcome::of(*std::min_element(values.begin(), values.end()));
    if (operation == "max_list")
        return Outcome::of(*std::max_element(values.begin(), values.end()));
    return Outcome::none();
}

Outcome wykonaj_liniowy(const std::vector<double>& coefficients,
                        const std::vector<double>& variables) {
    if (coefficients.size() != variables.size()) return Outcome::none();
    double sum = 0;
    for (std::size_t i = 0; i < coefficients.size(); ++i) sum += coefficients[i] * variables[i];
    return checked(sum);
}

Outcome wykonaj_wielomianowy(const std::vector<std::int32_t>& powers,
                             const std::vector<double>& coefficients, double x) {
    if (powers.size() != coefficients.size()) return Outcome::none();
    double sum = 0;
    for (std::size_t i = 0; i < powers.size(); ++i) {
        if (powers[i] < 0) return Outcome::none();
        if (coefficients[i] == 0) continue;
        sum += powers[i] == 0 ? coefficients[i] : coefficients[i] * power(x, powers[i]);
    }
    return checked(sum);
}

bool relacja(std::string_view relation, double a, double b) {
    if (relation == ">") return a > b;
    if (relation == "<") return a < b;
    if (relation == ">=") return a >= b;
    if (relation == "<=") return a <= b;
    if (relation == "==") return a == b;
    if (relation == "><" || relation == "<>") return a != b;
    return false;
}

std::pair<std::string, std::string> split_extended_relation(std::string_view relation) {
    const auto comma = relation.find(',');
    if (comma == std::string_view::npos) return {std::string(relation), ""};
    return {std::string(relation.substr(0, comma)), std::string(relation.substr(comma + 1))};
}

bool relacja_r(std::string_view relation, double a, double b, double c) {
    if (!is_extended_relation(relation)) return false;
    const auto [first, second] = split_extended_relation(relation);
    return relacja(first, a, b) && relacja(second, b, c);
}

}  // namespace xamo
