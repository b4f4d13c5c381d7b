// Checking knowledge bases without a window: every base of a knowledge base is loaded by the load
// commands with every diagnosis question answered yes, and what the load-time checks and
// diagnoses found is turned into findings that name the file, line and column concerned.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "check/finding.h"

namespace xamo {

struct CheckOptions {
    // Stops the flattening diagnoses once passed; zero for no limit.
    std::chrono::milliseconds time_limit{std::chrono::seconds(60)};
};

// Each path is a base file or a directory holding one knowledge base. Files of one knowledge base
// (one directory, one distinguisher) are checked once, as that knowledge base.
CheckResult check_paths(const std::vector<std::string>& paths, const CheckOptions& options = {});

}  // namespace xamo
