// Paths of media and description files as the bases name them: relative to the current
// directory, with "\" or "/" between their parts, and written on a system that ignores letter
// case. On disk every part is looked up first as written, then without regard to letter case
// (Polish letters included), so a base written on Windows that names "..\RADY\Grypa\Rada1.HLP"
// finds "../rady/grypa/rada1.hlp".
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace xamo {

// The path with every "\" turned into "/".
std::string disk_path(const std::string& path);

// The path of an existing file or directory matching `path` part by part, letter case aside; the
// parts as they stand on disk. Nothing when some part has no match. When several entries of one
// directory match, the one written exactly as asked is taken, else the first in byte order.
std::optional<std::string> find_ignoring_case(const std::string& path);

// True when `path` names (letter case aside) an existing regular file; `found` receives its path.
bool find_file(const std::string& path, std::string* found = nullptr);

// True when the directory `directory` (found letter case aside) holds a regular file whose name
// ends, letter case aside, with one of `extensions` (".HLP").
bool directory_has_file_with(const std::string& directory,
                             const std::vector<std::string>& extensions);

// Letter case aside, as the lookups compare names.
bool same_ignoring_case(const std::string& a, const std::string& b);

}  // namespace xamo
