#include "kb/model_symbols.h"

namespace xamo {
namespace {

using R = SymbolRole;

std::optional<SymbolRole> role_in(const std::vector<ModelSymbol>& table, std::string_view symbol) {
    for (const auto& entry : table) {
        if (entry.text == symbol) return entry.role;
    }
    return std::nullopt;
}

}  // namespace

const std::vector<ModelSymbol>& basic_model_symbols() {
    static const std::vector<ModelSymbol> symbols = {
        {"+", R::TwoArgument},
        {"-", R::TwoArgument},
        {"*", R::TwoArgument},
        {"/", R::TwoArgument},
        {"div", R::TwoArgument},
        {"mod", R::TwoArgument},
        {"min", R::TwoArgument},
        {"max", R::TwoArgument},
        {"%", R::TwoArgument},
        {">", R::Relation},
        {"==", R::Relation},
        {"<", R::Relation},
        {">=", R::Relation},
        {"<=", R::Relation},
        {"><", R::Relation},
        {"<>", R::Relation},
        {"sqrt", R::Function},
        {"sin", R::Function},
        {"cos", R::Function},
        {"tan", R::Function},
        {"arctan", R::Function},
        {"log", R::Function},
        {"ln", R::Function},
        {"exp", R::Function},
        {"round", R::Function},
        {"trunc", R::Function},
        {"abs", R::Function},
        {"=", R::TwoArgument},
        {"zaokrąglenie_do_N", R::TwoArgument},
        {"A^N", R::TwoArgument},
        {kRuleConditionCount, R::RuleConditionCount},
    };
    return symbols;
}

const std::vector<ModelSymbol>& extended_model_symbols() {
    static const std::vector<ModelSymbol> symbols = {
        {"+", R::ListArithmetic},        {"*", R::ListArithmetic},
        {"min_list", R::ListArithmetic}, {"max_list", R::ListArithmetic},
        {"<,<", R::DoubleRelation},      {"<=,<", R::DoubleRelation},
        {"<,<=", R::DoubleRelation},     {"<=,<=", R::DoubleRelation},
    };
    return symbols;
}

std::optional<SymbolRole> basic_symbol_role(std::string_view symbol) {
    return role_in(basic_model_symbols(), symbol);
}

std::optional<SymbolRole> extended_symbol_role(std::string_view symbol) {
    return role_in(extended_model_symbols(), symbol);
}

bool is_model_symbol(std::string_view symbol) { return basic_symbol_role(symbol).has_value(); }
bool is_model_r_symbol(std::string_view symbol) { return extended_symbol_role(symbol).has_value(); }

bool is_basic_relation(std::string_view symbol) { return basic_symbol_role(symbol) == R::Relation; }

bool is_extended_relation(std::string_view symbol) {
    return extended_symbol_role(symbol) == R::DoubleRelation;
}

bool is_two_argument_operation(std::string_view symbol) {
    return basic_symbol_role(symbol) == R::TwoArgument;
}

bool is_function(std::string_view symbol) {
    const auto role = basic_symbol_role(symbol);
    return role == R::Function || role == R::RuleConditionCount;
}

bool is_extended_arithmetic(std::string_view symbol) {
    return extended_symbol_role(symbol) == R::ListArithmetic;
}

}  // namespace xamo
