#include "ui/messages.h"

QMessageBox::StandardButton WidgetMessageService::show(QWidget* parent, const MessageBoxSpec& box) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (box.icon) {
    case MsgIcon::None: break;
    case MsgIcon::Information: icon = QMessageBox::Information; break;
    case MsgIcon::Error: icon = QMessageBox::Critical; break;
    case MsgIcon::Question: icon = QMessageBox::Question; break;
    case MsgIcon::Warning: icon = QMessageBox::Warning; break;
    }
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    if (box.buttons == MsgButtons::OkCancel)
        buttons = QMessageBox::Ok | QMessageBox::Cancel;
    else if (box.buttons == MsgButtons::YesNo)
        buttons = QMessageBox::Yes | QMessageBox::No;
    QMessageBox mb(icon, box.caption, box.text, buttons, parent);
    return QMessageBox::StandardButton(mb.exec());
}
