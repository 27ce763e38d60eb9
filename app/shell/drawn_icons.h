// The program's icons, drawn in code: the window icon and one tool-bar glyph
// per command.
#pragma once

#include <QIcon>

namespace vornscope {

QIcon applicationIcon();
QIcon commandIcon(int id);

} // namespace vornscope
