#pragma once
#include <QPixmap>

// The pictures of the main window, drawn when first needed.
namespace Pictures {
// One of the toolbar's twelve 32 by 32 pictures (0 to 11).
QPixmap toolbar(int index);
// The tile that fills the client area behind the child windows.
QPixmap background();
} // namespace Pictures
