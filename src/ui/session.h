#pragma once
#include "data/tdm1.h"
#include "ui/filedialogs.h"
#include "ui/messages.h"
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <typeindex>

// Everything one run of the program shares: the data module, the current operator, the
// message box and file dialog services and the dialogs that live for the whole run.
class Session {
public:
    Session(std::unique_ptr<MessageService> messages, std::unique_ptr<FileDialogService> files);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    TDM1& dm() { return *dm_; }
    MessageService& messages() { return *messages_; }
    FileDialogService& files() { return *files_; }

    // The operator logged in: number, password as typed at login, flags 1 to 17.
    QString operatorNumber;
    QString loginPassword;
    std::array<bool, 18> flags{};

    QString shopName;
    // Set by the main window: shows a new shop name in its title and large label.
    std::function<void()> shopNameChanged;

    // The name the backup dialog proposes: empty until the first backup (then today's date),
    // afterwards the last name chosen, for the rest of the run.
    QString backupFileName;

    // The receipt printed last in this run, for 重印小票 (a Receipt of the trade area).
    QVariant lastReceipt;

    // The main window, parent of the whole-run dialogs and of every message box without a screen.
    QWidget* mainWindow() const { return mainWindow_; }
    void setMainWindow(QWidget* w) { mainWindow_ = w; }

    // The dialog of type T, created on first use with (Session&, QWidget* parent) and kept for the run.
    template <class T> T& dialog() {
        auto& slot = dialogs_[std::type_index(typeid(T))];
        if (!slot)
            slot = new T(*this, mainWindow_);
        return *static_cast<T*>(slot.data());
    }

    // Runs a command; an error that escapes it is shown in the general error report.
    void guarded(QWidget* parent, const std::function<void()>& command);
    // The general error report: the error's text, an empty caption, an error icon and OK.
    void reportError(QWidget* parent, const QString& text);

private:
    std::unique_ptr<TDM1> dm_;
    std::unique_ptr<MessageService> messages_;
    std::unique_ptr<FileDialogService> files_;
    QWidget* mainWindow_ = nullptr;
    std::map<std::type_index, QPointer<QWidget>> dialogs_;
};
