// What the front ends offer for recent work: the kind of base a file name names, and the list of
// recently loaded knowledge bases.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "loading/loading.h"

namespace xamo {

// The kind named by the prefix of the file name ("RE", "MO", "OG", "RA", "GR", "DŹ"), in any
// letter case; nothing for any other name.
std::optional<BaseKind> base_kind_of_file(const std::string& path);

// The bases loaded last, most recent first, each once, at most kMaxRecentBases.
class RecentBases {
  public:
    static constexpr std::size_t kMaxRecentBases = 8;

    void add(const std::string& path);
    // Replaces the list (as remembered by a front end), keeping the same rules.
    void assign(const std::vector<std::string>& paths);
    const std::vector<std::string>& paths() const { return paths_; }

  private:
    std::vector<std::string> paths_;
};

}  // namespace xamo
