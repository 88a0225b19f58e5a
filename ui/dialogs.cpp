// The small dialogs of the main window.
#include "app/main_window.h"
#include "app/small_dialog.h"
#include "resources/resource_ids.h"

namespace tarnuvo {

void MainWindow::showVersionDialog() {
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_VERSION), window, smallDialogProcedure, 0);
}

// The file dialogs and the tag information box come with the dialogs' own
// work; until then their commands open nothing.
void MainWindow::openListDialog() {}
void MainWindow::addFilesDialog() {}
void MainWindow::saveListDialog() {}
void MainWindow::showTagInformation() {}

}  // namespace tarnuvo
