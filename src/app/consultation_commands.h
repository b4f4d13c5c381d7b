// Storing a consultation (the commands and answers of the session) as a console script, which
// `xamo_rd --console --batch DIR < script` replays and `xamo_rd --replay` checks.
#pragma once

#include <string>
#include <vector>

namespace xamo {

class Application;

inline constexpr int kStoreConsultationCommand = 10161;

void register_consultation_commands(Application& app);

// The script text: one line per command or answer, the store command itself left out.
std::string consultation_script(const std::vector<std::string>& lines);

}  // namespace xamo
