// The loader's mark on the panel's file line.
#include "app/main_window.h"

namespace tarnuvo {

void MainWindow::showLoading(bool on) {
    markPanelLoading(on);
    redrawInfoPanel(true, true);
}

}  // namespace tarnuvo
