// What a structured browse window shows: the items of one kind (rules, constraints or one kind of
// model), one at a time, chosen by number. Built by the core (browse_commands.h), drawn by the
// front ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace xamo {

struct BrowseField {
    std::string label;
    bool multiline = false;  // a list: one element per line
};

struct BrowseItem {
    std::int32_t number = 0;
    std::vector<std::vector<std::string>> values;  // the lines of each field, in field order
};

struct BrowseCount {
    std::string label;
    std::size_t value = 0;
};

struct BrowseView {
    std::string title;         // window title
    std::string heading;       // "MODEL LINIOWY"; empty for rules and constraints
    std::string formula;       // "y=a1*x1+a2*x2+...+an*xn"; empty when the kind has none
    std::string number_label;  // "Nr reguły"
    std::vector<BrowseField> fields;
    std::vector<BrowseItem> items;  // in store order
    std::vector<BrowseCount> counts;
};

}  // namespace xamo
