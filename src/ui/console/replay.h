// `xamo_rd --replay`: a stored consultation is fed to the console front end as in
// `xamo_rd --console --batch`, in a temporary copy of its directory, and the transcript (paths
// below the directory written relative to it) is printed or compared with a stored one.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace xamo {

struct ReplayOptions {
    std::string script;
    std::optional<std::string> expected;   // the stored transcript to compare with
    std::optional<std::string> directory;  // else the one the script names, else the current one
    bool in_place = false;                 // run in the directory itself, not in a copy
    bool update = false;                   // rewrite `expected` with the new transcript
};

// Exit codes of `--replay`.
enum ReplayExit : int {
    kReplaySame = 0,        // the transcript is the stored one (or was printed, or stored)
    kReplayDiffers = 1,     // it differs, a question differs, or a step wrote outside
    kReplayUsage = 2,       // the command line is wrong
    kReplayUnreadable = 3,  // the script, the transcript or the directory cannot be read
};

// Results and differences go to `out`, errors to `err`.
int run_replay(const ReplayOptions& options, std::ostream& out, std::ostream& err);

}  // namespace xamo
