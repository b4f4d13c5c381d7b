// Working facts of the media and document commands.
#pragma once

#include <optional>
#include <string>

#include "kb/facts.h"

namespace xamo {

struct MediaMemory : WorkingSection {
    // `opis`: the description file of the loaded knowledge base, as an absolute path so that a
    // later change of the current directory (another load) still finds it.
    std::optional<std::string> opis;

    void clear() override { *this = MediaMemory{}; }
};

}  // namespace xamo
