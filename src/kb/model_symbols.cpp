#include "kb/model_symbols.h"

#include <algorithm>

namespace xamo {
namespace {

bool contains(const std::vector<std::string>& list, std::string_view symbol) {
    return std::find(list.begin(), list.end(), symbol) != list.end();
}

}  // namespace

const std::vector<std::string>& model_symbols() {
    static const std::vector<std::string> symbols = {"+",
                                                     "-",
                                                     "*",
                                                     "/",
                                                     "div",
                                                     "mod",
                                                     "min",
                                                     "max",
                                                     "%",
                                                     ">",
                                                     "==",
                                                     "<",
                                                     ">=",
                                                     "<=",
                                                     "><",
                                                     "<>",
                                                     "sqrt",
                                                     "sin",
                                                     "cos",
                                                     "tan",
                                                     "arctan",
                                                     "log",
                                                     "ln",
                                                     "exp",
                                                     "round",
                                                     "trunc",
                                                     "abs",
                                                     "=",
                                                     "zaokrąglenie_do_N",
                                                     "A^N",
                                                     "liczba_warunków_reguły"};
    return symbols;
}

const std::vector<std::string>& model_r_symbols() {
    static const std::vector<std::string> symbols = {"+",   "*",    "min_list", "max_list",
                                                     "<,<", "<=,<", "<,<=",     "<=,<="};
    return symbols;
}

bool is_model_symbol(std::string_view symbol) { return contains(model_symbols(), symbol); }
bool is_model_r_symbol(std::string_view symbol) { return contains(model_r_symbols(), symbol); }

bool is_relation(std::string_view symbol) {
    static const std::vector<std::string> relations = {">", "==", "<", ">=", "<=", "><", "<>"};
    return contains(relations, symbol);
}

bool is_double_relation(std::string_view symbol) {
    static const std::vector<std::string> relations = {"<,<", "<=,<", "<,<=", "<=,<="};
    return contains(relations, symbol);
}

bool is_function_symbol(std::string_view symbol) {
    static const std::vector<std::string> functions = {
        "sqrt", "sin", "cos",   "tan",   "arctan", "log",
        "ln",   "exp", "round", "trunc", "abs",    "liczba_warunków_reguły"};
    return contains(functions, symbol);
}

}  // namespace xamo
