// The one table of model operation symbols: what the load check accepts and what the evaluator
// (operations.h) computes, with the role that decides how each is evaluated.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace xamo {

enum class SymbolRole {
    TwoArgument,         // a value from argument 1 and argument 2
    Function,            // a value from argument 1; argument 2 is written "0"
    RuleConditionCount,  // the number of conditions of the rule numbered by argument 1
    Relation,            // a basic model's relation: its result is a condition
    ListArithmetic,      // an extended model combining its whole list into a value
    DoubleRelation,      // an extended model's relation over three values
};

struct ModelSymbol {
    std::string_view text;
    SymbolRole role;
};

inline constexpr std::string_view kRuleConditionCount = "liczba_warunków_reguły";

// Every symbol valid in a basic model (`model`), in the documented order.
const std::vector<ModelSymbol>& basic_model_symbols();
// Every operation valid in an extended model (`model_r`), in the documented order.
const std::vector<ModelSymbol>& extended_model_symbols();

std::optional<SymbolRole> basic_symbol_role(std::string_view symbol);
std::optional<SymbolRole> extended_symbol_role(std::string_view symbol);

bool is_model_symbol(std::string_view symbol);
bool is_model_r_symbol(std::string_view symbol);
// The seven relations of a basic model: ">", "==", "<", ">=", "<=", "><", "<>".
bool is_basic_relation(std::string_view symbol);
// The four double relations of an extended model: "<,<", "<=,<", "<,<=", "<=,<=".
bool is_extended_relation(std::string_view symbol);
bool is_two_argument_operation(std::string_view symbol);
// One-argument symbols of a basic model (argument 2 is written "0"), the rule-condition count
// among them.
bool is_function(std::string_view symbol);
// "+", "*", "min_list", "max_list" of an extended model.
bool is_extended_arithmetic(std::string_view symbol);

}  // namespace xamo
