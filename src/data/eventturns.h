#pragma once
#include <QElapsedTimer>

// Keeps the window alive during a long piece of work on the GUI thread (an export, a backup):
// the work calls tick() often, and every 50 ms of work the pending events are processed, so the
// window repaints and timers run. The user's clicks and keys are not processed meanwhile: they
// wait until the work is done, so nothing starts a second piece of work or closes the screen
// under the one running. Away from the GUI thread tick() does nothing.
class EventTurns {
public:
    EventTurns();
    // Returns true when the events were processed.
    bool tick();
    // Processes the pending events now, however short the work since the last turn; for the end
    // of a piece of work that is about to wait (on the disk) without turning.
    void turn();

    // The work between two turns, in milliseconds (50 by default). Tests set 0 to get a turn at
    // every tick; returns the previous value.
    static int setInterval(int ms);

private:
    QElapsedTimer timer_;
    bool active_ = false;
};
