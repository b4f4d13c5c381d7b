// The operation symbols that models may use, and which of them make a model relational.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace xamo {

// Every symbol valid in a basic model, in the documented order.
const std::vector<std::string>& model_symbols();
// Every operation valid in an extended model.
const std::vector<std::string>& model_r_symbols();

bool is_model_symbol(std::string_view symbol);
bool is_model_r_symbol(std::string_view symbol);
// The seven relations of a basic model; its result is then a condition.
bool is_relation(std::string_view symbol);
// The four double relations of an extended model.
bool is_double_relation(std::string_view symbol);
// One-argument functions of a basic model (argument 2 is written "0").
bool is_function_symbol(std::string_view symbol);

}  // namespace xamo
