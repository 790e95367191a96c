#pragma once
#include <QList>
#include <QString>
#include <QUrl>
#include <functional>

class QWidget;
class TMAIN;

// One command of the main window, as the staff find it in its menus and toolbar.
struct MenuCommand {
    QString menu;        // the menu it is in; empty for a toolbar button
    QString name;        // objectName: "N10", "ToolButton8"
    QString text;        // its caption: "销售记录录入"
    QString window;      // the caption of the child window or dialog it opened; empty when none
    QUrl url;            // the document it asked the desktop to open, if any
    QStringList buttons; // the captions of the buttons of what it opened
};

// Chooses every menu item of the main window in menu order, then every toolbar button, and
// reports what each one opened. The session's message and file
// services must answer Cancel (a question then changes nothing: no exit, no restore, no
// initialisation). A child window is handed to `shown` and closed again; so is a dialog that
// the command shows modally.
QList<MenuCommand> walkCommands(TMAIN& main,
                                const std::function<void(const MenuCommand&, QWidget*)>& shown = {});
