// The exclusive-conclusion analyses of the rule base (10131, 10132, 10133).
#pragma once

namespace xamo {

class Application;

void register_analysis_commands(Application& app);

}  // namespace xamo
