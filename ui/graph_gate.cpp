// Player commands that had to wait for the window thread's steady apartment.
#include "ui/graph_gate.h"

#include "app/window_parts.h"
#include "ui/play_road.h"

namespace tarnuvo {

void GraphGate::noteSteadyApartment() {
    // A modal dialog owned by the window disables it: that is no steady state.
    const HWND window = frame_.window();
    if (window && IsWindowEnabled(window)) steadySingleThreaded_ = apartmentIsSingleThreaded_();
}

bool GraphGate::deferred() const {
    return road_.current().isDirectShow() && !steadySingleThreaded_ && apartmentIsSingleThreaded_();
}

void GraphGate::runDeferred() {
    if (waiting_ == 0 || deferred()) return;
    const uint32_t id = waiting_;
    waiting_ = 0;
    PostMessageA(frame_.window(), WM_COMMAND, id, 0);
}

}  // namespace tarnuvo
