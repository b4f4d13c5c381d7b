// Working facts of an inference run that later commands (summary, report) read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "kb/facts.h"

namespace xamo {

struct InferenceMemory : WorkingSection {
    std::vector<std::string> etykieta;              // labels typed at the start of a run
    std::optional<std::string> szczegolowosc;       // "mała" or "duża"
    std::vector<std::pair<std::int32_t, std::string>> rbd;  // forward working memory, in order
    std::vector<std::string> rbd_wstecz;            // backward working memory, in order
    std::vector<std::pair<std::string, double>> zmienna_ustalona;  // fixed argument values

    void clear() override { *this = InferenceMemory{}; }
};

}  // namespace xamo
