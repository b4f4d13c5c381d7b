// Writing whole lines to the output stream.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "dialog/interaction.h"

namespace xamo {

inline void write_line(UserInteraction& ui, const std::string& text) {
    ui.write(text);
    ui.new_line();
}

inline void write_lines(UserInteraction& ui, std::initializer_list<std::string> lines) {
    for (const auto& line : lines) write_line(ui, line);
}

inline void write_lines(UserInteraction& ui, const std::vector<std::string>& lines) {
    for (const auto& line : lines) write_line(ui, line);
}

}  // namespace xamo
