#include "media/media_paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "kb/codec.h"

namespace fs = std::filesystem;

namespace xamo {
namespace {

// The entry of `directory` named `part` letter case aside; exact spelling first.
std::optional<fs::path> find_entry(const fs::path& directory, const std::string& part) {
    std::error_code ec;
    const fs::path exact = directory / part;
    if (fs::exists(fs::symlink_status(exact, ec))) return exact;
    const std::string wanted = upper_case(part);
    std::optional<std::string> best;
    fs::directory_iterator it(directory.empty() ? fs::path(".") : directory, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (upper_case(name) != wanted) continue;
        if (!best || name < *best) best = name;
    }
    if (!best) return std::nullopt;
    return directory / *best;
}

}  // namespace

std::string disk_path(const std::string& path) {
    std::string out = path;
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

bool same_ignoring_case(const std::string& a, const std::string& b) {
    return upper_case(a) == upper_case(b);
}

std::optional<std::string> find_ignoring_case(const std::string& path) {
    const fs::path wanted(disk_path(path));
    if (wanted.empty()) return std::nullopt;
    fs::path found = wanted.root_path();
    for (const auto& part : wanted.relative_path()) {
        const std::string name = part.string();
        if (name.empty() || name == "." || name == "..") {
            found /= part;
            continue;
        }
        const auto entry = find_entry(found, name);
        if (!entry) return std::nullopt;
        found = *entry;
    }
    std::error_code ec;
    if (!fs::exists(found, ec)) return std::nullopt;
    return found.string();
}

bool find_file(const std::string& path, std::string* found) {
    const auto match = find_ignoring_case(path);
    std::error_code ec;
    if (!match || !fs::is_regular_file(fs::path(*match), ec)) return false;
    if (found) *found = *match;
    return true;
}

bool directory_has_file_with(const std::string& directory,
                             const std::vector<std::string>& extensions) {
    const auto found = find_ignoring_case(directory);
    if (!found) return false;
    std::error_code ec;
    fs::directory_iterator it(fs::path(*found), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::error_code type_error;
        if (!it->is_regular_file(type_error)) continue;
        const std::string name = upper_case(it->path().filename().string());
        for (const auto& extension : extensions) {
            const std::string ending = upper_case(extension);
            if (name.size() > ending.size() &&
                name.compare(name.size() - ending.size(), ending.size(), ending) == 0) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace xamo
