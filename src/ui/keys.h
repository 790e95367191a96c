#pragma once
#include <QList>
#include <functional>
#include <QObject>
#include <QPointer>
#include <QWidget>

class QKeyEvent;

// Return or the keypad's Enter, without Shift, Ctrl or Alt.
bool isEnterKey(const QKeyEvent* k);

// Enter in a data-entry box moves the focus to the next box of the chain (on the key down).
class EnterChain : public QObject {
    Q_OBJECT
public:
    // The chain lives as long as its first widget.
    static EnterChain* install(const QList<QWidget*>& chain);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    explicit EnterChain(QObject* parent) : QObject(parent) {}
    QList<QPointer<QWidget>> chain_;
};

// A money box takes only digits, ".", "-" and Backspace; other characters are dropped, typed,
// pasted or dropped alike.
class MoneyKeyFilter : public QObject {
    Q_OBJECT
public:
    static void install(QWidget* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    using QObject::QObject;
};

// Calls handler when Enter (the character 13) is typed into the widget.
void onEnterPressed(QWidget* w, std::function<void()> handler);
