// Replaying a stored consultation: the script is fed to the console front end as in
// `xamo_rd --console --batch`, and the transcript is printed or compared with a stored one.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace xamo {

// Exit codes: 0 the transcript is the stored one (or was printed), 1 it differs (the first
// differing line is shown), 2 a file cannot be read.
int run_replay(const std::string& script_path, const std::optional<std::string>& expected_path,
               std::ostream& out);

// The first line at which two transcripts differ (1-based), or nothing when they are equal.
// Line ends CR LF and LF count as one.
std::optional<std::size_t> first_difference(const std::string& expected, const std::string& got);

}  // namespace xamo
