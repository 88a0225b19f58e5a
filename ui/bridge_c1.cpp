// The window's operations that now belong to the layout, the transport
// buttons and the list pane, for the code that still calls them on the window.
#include "app/main_window.h"
#include "ui/main_view.h"

namespace tarnuvo {

void MainWindow::showPauseLook() {
    mainView(*this).buttons().showPauseLook();
}

HWND MainWindow::transportButton(int32_t index) {
    return mainView(*this).buttons().handle(index);
}

}  // namespace tarnuvo
