// The panel's two timers: the refresh that moves the time line and the seek
// thumb by turns while a track plays, and the blink of a paused time.
#include "app/window_parts.h"
#include "ui/info_panel.h"
#include "ui/play_road.h"
#include "ui/seek_bar.h"

namespace tarnuvo {

void InfoPanel::onRefreshTimer() {
    Player& player = road_.current();
    if (road_.starting() || player.state != Playing || !frame_.environment().windowShown) return;
    // The time line and the thumb take turns; the thumb moves only after the
    // time line has been painted.
    if (paintState_ == PaintIdle) {
        paintState_ = PaintRequested;
        redraw(false, true);
    } else if (paintState_ == PaintPainted) {
        seek_.showPosition(player.position());
        paintState_ = PaintIdle;
    }
}

void InfoPanel::onBlinkTimer() {
    if (road_.starting() || road_.current().state != Paused || !frame_.environment().windowShown)
        return;
    blinkVisible_ = !blinkVisible_;
    redraw(false, true);
}

}  // namespace tarnuvo
