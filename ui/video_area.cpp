// The video area: messages meant for a full-screen video window go to the
// graph while it shows a video.
#include "app/window_parts.h"
#include "ui/play_road.h"

namespace tarnuvo {

void PlayRoad::subclassVideoArea() {
    videoSubclass_.install(videoArea_, videoProcedure, this);
}

LRESULT CALLBACK PlayRoad::videoProcedure(HWND control, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
    PlayRoad* self = SubclassedControl::ownerOf<PlayRoad>(control);
    if (!self) return DefWindowProcA(control, message, wParam, lParam);
    Player& player = *self->current_;
    if (!self->starting_ && player.isDirectShow() && player.state != Stopped &&
        self->directShow_.filterMessage(control, message, wParam, lParam))
        return 0;
    return self->videoSubclass_.callFormer(control, message, wParam, lParam);
}

void PlayRoad::fullScreen() {
    if (!starting_ && current_ == &directShow_) directShow_.fullScreen(2, frame_.window());
}

}  // namespace tarnuvo
