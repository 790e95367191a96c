#pragma once
#include <QFont>
#include <QString>

namespace Fonts {
// Maps the Windows font names the screens use ("宋体", "华文行楷", "华文新魏", "MS Sans Serif") to installed fonts.
void install();
// The screens' font: "宋体" at the given height in pixels.
QFont song(int pixels = 13);
} // namespace Fonts
