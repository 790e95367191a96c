#include "ui/session.h"
#include <exception>

Session::Session(std::unique_ptr<MessageService> messages, std::unique_ptr<FileDialogService> files)
    : dm_(std::make_unique<TDM1>()), messages_(std::move(messages)), files_(std::move(files)) {}

Session::~Session() {
    for (auto& [type, w] : dialogs_)
        delete w.data();
}

void Session::guarded(QWidget* parent, const std::function<void()>& command) {
    try {
        command();
    } catch (const DbError& e) {
        reportError(parent, e.text());
    } catch (const std::exception& e) {
        reportError(parent, QString::fromLocal8Bit(e.what()));
    }
}

void Session::reportError(QWidget* parent, const QString& text) {
    messages_->show(parent ? parent : mainWindow_, {text, QString(), MsgIcon::Error, MsgButtons::Ok});
}
