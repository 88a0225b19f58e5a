// The controls that depend on the list having entries.
#include <windows.h>
#include <commctrl.h>

#include "app/main_window.h"
#include "resources/resource_ids.h"
#include "ui/play_buttons.h"

namespace tarnuvo {

void MainWindow::updateListControls() {
    BOOL filled = playlist_.empty() ? FALSE : TRUE;
    if (toolbar) {
        SendMessageA(toolbar, TB_ENABLEBUTTON, IDM_CLEAR, filled);
        SendMessageA(toolbar, TB_ENABLEBUTTON, IDM_SAVE_LIST, filled);
        if (!filled) {
            for (int command : {IDM_MOVE_UP, IDM_MOVE_DOWN, IDM_DELETE})
                SendMessageA(toolbar, TB_ENABLEBUTTON, command, FALSE);
        }
    }
    for (int32_t i : {kPlayButton, kPreviousButton, kNextButton, kRandomButton})
        EnableWindow(buttons[i], filled);
}

}  // namespace tarnuvo
