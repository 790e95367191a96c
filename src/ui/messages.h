#pragma once
#include <QMessageBox>
#include <QString>

class QWidget;

enum class MsgIcon { None, Information, Error, Question, Warning };
enum class MsgButtons { Ok, OkCancel, YesNo };

struct MessageBoxSpec {
    QString text;
    QString caption;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
};

// Every message box of the program goes through this service; tests replace it by a scripted one.
class MessageService {
public:
    virtual ~MessageService() = default;
    // Returns the button chosen (QMessageBox::Ok, Cancel, Yes, No).
    virtual QMessageBox::StandardButton show(QWidget* parent, const MessageBoxSpec& box) = 0;

    void info(QWidget* parent, const QString& text, const QString& caption) {
        show(parent, {text, caption, MsgIcon::Information, MsgButtons::Ok});
    }
    void error(QWidget* parent, const QString& text, const QString& caption) {
        show(parent, {text, caption, MsgIcon::Error, MsgButtons::Ok});
    }
    // A question with OK and Cancel; true only for OK.
    bool ask(QWidget* parent, const QString& text, const QString& caption) {
        return show(parent, {text, caption, MsgIcon::Question, MsgButtons::OkCancel}) == QMessageBox::Ok;
    }
    // The engine's own text after a failed save: no icon, the application title as caption.
    void plain(QWidget* parent, const QString& text) { show(parent, {text, QString(), MsgIcon::None, MsgButtons::Ok}); }
};

class WidgetMessageService : public MessageService {
public:
    QMessageBox::StandardButton show(QWidget* parent, const MessageBoxSpec& box) override;
};
