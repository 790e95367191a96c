#include "data/eventturns.h"
#include <QCoreApplication>
#include <QThread>

namespace {
int intervalMs = 50;
} // namespace

EventTurns::EventTurns() {
    const QCoreApplication* app = QCoreApplication::instance();
    active_ = app && app->thread() == QThread::currentThread();
    timer_.start();
}

bool EventTurns::tick() {
    if (!active_ || timer_.elapsed() < intervalMs)
        return false;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    timer_.restart();
    return true;
}

void EventTurns::turn() {
    if (!active_)
        return;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    timer_.restart();
}

int EventTurns::setInterval(int ms) {
    const int previous = intervalMs;
    intervalMs = ms;
    return previous;
}
