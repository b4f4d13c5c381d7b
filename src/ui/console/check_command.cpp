#include "ui/console/check_command.h"

#include <algorithm>
#include <ostream>

#include "app/check.h"

namespace xamo {

int run_check(const std::vector<std::string>& paths, CheckFormat format, std::ostream& out) {
    int code = 0;
    for (const auto& path : paths) {
        const CheckResult result = check_knowledge_base(path);
        for (const auto& finding : result.findings)
            out << (format == CheckFormat::Json ? finding_json(finding) : finding_text(finding));
        code = std::max(code, check_exit_code(result));
    }
    out.flush();
    return code;
}

}  // namespace xamo
