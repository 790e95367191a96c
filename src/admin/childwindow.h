#pragma once
#include <QString>
#include <functional>

class QWidget;
class Screen;

// Child windows opened by a screen itself, beside the ones the main window's commands open.
namespace ChildWindow {
// The open child window with this caption is restored and focused; if there is none, make()
// builds the screen, which is shown as a new child window with that caption. Returns the screen.
QWidget* findOrOpen(QWidget* from, const QString& caption, const std::function<Screen*()>& make);
// Closes the child window that holds the screen (the screen itself when it stands alone).
void close(QWidget* screen);
} // namespace ChildWindow
