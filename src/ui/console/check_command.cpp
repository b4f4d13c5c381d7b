#include "ui/console/check_command.h"

#include "check/command.h"

namespace xamo {

int run_check(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    return run_check_command(arguments, out, err);
}

}  // namespace xamo
