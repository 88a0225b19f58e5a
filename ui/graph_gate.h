// Graph calls that must wait while a modal dialog has moved the window
// thread into another apartment. Owns the steady apartment state and the one
// player command waiting for it; asks the play road which player is current.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/com_apartment.h"

namespace tarnuvo {

class WindowFrame;
class PlayRoad;

class GraphGate {
public:
    GraphGate(WindowFrame& frame, const PlayRoad& road,
              bool (*apartmentIsSingleThreaded)() = inSingleThreadedApartment)
        : frame_(frame), road_(road), apartmentIsSingleThreaded_(apartmentIsSingleThreaded) {}

    void noteSteadyApartment();
    bool deferred() const;
    void defer(uint32_t id) { waiting_ = id; }
    // Timer 3 (it runs while the window is hidden in the tray too).
    void runDeferred();

    // For tests.
    bool steady() const { return steadySingleThreaded_; }
    uint32_t waiting() const { return waiting_; }
    void useApartmentProbe(bool (*probe)()) { apartmentIsSingleThreaded_ = probe; }

private:
    WindowFrame& frame_;
    const PlayRoad& road_;
    bool (*apartmentIsSingleThreaded_)();
    uint32_t waiting_ = 0;
    // The apartment of the window thread outside modal dialogs. Windows
    // leaves it in the implicit multithreaded apartment; Wine's input method
    // puts every window thread into a single-threaded one for good. Only a
    // change from this steady state (a file dialog's) makes graph calls wait.
    bool steadySingleThreaded_ = false;
};

}  // namespace tarnuvo
