// Storing a consultation (the commands and answers of the session) as a console script, which
// `xamo_rd --console --batch DIR < script` replays and `xamo_rd --replay` checks.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace xamo {

class Application;

inline constexpr int kStoreConsultationCommand = 10161;

void register_consultation_commands(Application& app);

inline constexpr const char* kScriptExtension = ".skr";
// The first line of a stored script names the directory to replay it in, relative to the
// script's own folder, so that the script and its knowledge base can move together.
inline constexpr const char* kDirectoryComment = "# katalog: ";

// The script text: the directory line when `directory` is given, then one line per command or
// answer, the store command itself left out.
std::string consultation_script(const std::vector<std::string>& lines,
                                const std::string& directory = {});

// The directory named by a script's directory line, or nothing.
std::optional<std::string> script_directory(const std::string& script);

}  // namespace xamo
