#pragma once
#include <QString>

namespace Fonts {
// Maps the Windows font names the screens use ("宋体", "华文行楷", "华文新魏", "MS Sans Serif") to installed fonts.
void install();
} // namespace Fonts
