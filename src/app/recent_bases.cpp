#include "app/recent_bases.h"

#include <algorithm>

#include "kb/files.h"

namespace xamo {
namespace {

struct Prefix {
    const char* upper;
    const char* lower;
    BaseKind kind;
};

// "DŹ" has two letter cases of its own in UTF-8; the others are ASCII.
constexpr Prefix kPrefixes[] = {
    {"RE", "re", BaseKind::Rules},       {"MO", "mo", BaseKind::Models},
    {"OG", "og", BaseKind::Constraints}, {"RA", "ra", BaseKind::Advice},
    {"GR", "gr", BaseKind::Graphics},    {"D\xC5\xB9", "d\xC5\xBA", BaseKind::Sounds},
};

// Each letter of the prefix in either case: "Re", "rE", "dŹ" count.
bool has_prefix(const std::string& name, const Prefix& prefix) {
    const std::string upper = prefix.upper;
    const std::string lower = prefix.lower;
    if (name.size() < upper.size()) return false;
    if (name[0] != upper[0] && name[0] != lower[0]) return false;
    const std::string rest = name.substr(1, upper.size() - 1);
    return rest == upper.substr(1) || rest == lower.substr(1);
}

}  // namespace

std::optional<BaseKind> base_kind_of_file(const std::string& path) {
    const std::string name = file_name_of(path);
    for (const Prefix& prefix : kPrefixes) {
        if (has_prefix(name, prefix)) return prefix.kind;
    }
    return std::nullopt;
}

void RecentBases::add(const std::string& path) {
    paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kMaxRecentBases) paths_.resize(kMaxRecentBases);
}

void RecentBases::assign(const std::vector<std::string>& paths) {
    paths_.clear();
    // From the oldest, so the first stays first.
    for (auto it = paths.rbegin(); it != paths.rend(); ++it) {
        if (!it->empty()) add(*it);
    }
}

}  // namespace xamo
