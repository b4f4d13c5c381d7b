// The short template a new base of each kind opens with in the editor: a heading and examples of
// the kind's facts, written as remarks the user deletes. The graphics and sound bases have no
// remark facts, so their template is no text of the file, only a hint the editor shows while the
// file is empty.
#pragma once

#include <string>

#include "loading/loading.h"

namespace xamo {

struct BaseTemplate {
    std::string text;  // what the new file opens with, "\n" line breaks (empty: nothing)
    std::string hint;  // shown in an empty editor, never written (empty: nothing)
};

BaseTemplate base_template(BaseKind kind);

}  // namespace xamo
