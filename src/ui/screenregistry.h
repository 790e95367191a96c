#pragma once
#include <QHash>
#include <QString>
#include <functional>

class Screen;
class Session;
class QWidget;

// What the main window's commands open: screens by their window caption, and commands
// without a window by their menu item name.
class ScreenRegistry {
public:
    using Factory = std::function<Screen*(Session&)>;
    using Command = std::function<void(Session&, QWidget* mainWindow)>;

    void addScreen(const QString& caption, Factory f) { screens_.insert(caption, std::move(f)); }
    void addCommand(const QString& item, Command c) { commands_.insert(item, std::move(c)); }
    Factory screen(const QString& caption) const { return screens_.value(caption); }
    Command command(const QString& item) const { return commands_.value(item); }

private:
    QHash<QString, Factory> screens_;
    QHash<QString, Command> commands_;
};
