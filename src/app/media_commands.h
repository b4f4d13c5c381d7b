// The commands on advice, pictures and sounds (the menus of the three media bases) and on
// descriptions, reports and summaries ("Opisy i raporty"). Toolkit-free: windows and dialogs are
// opened through UserInteraction.
#pragma once

namespace xamo {

class Application;

// 10098, 10102-10106, 10109, 10113-10116, 10119, 10123-10126.
void register_media_commands(Application& app);
// 10135-10142.
void register_document_commands(Application& app);

}  // namespace xamo
