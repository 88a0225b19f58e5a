#include "app/main_window.h"

#include "resources/resource_ids.h"

namespace tarnuvo {

MainWindow::MainWindow(AppEnvironment& environment, const char* commandLine)
    : env_(environment), commandLine_(commandLine) {
    waveOut_.reset();
    directShow_.reset();
    parts_ = makeWindowParts(*this);
}

MainWindow::~MainWindow() {
    // Normally the dialog is gone by now; a dialog that outlived the loop
    // must not call into a half-destroyed object.
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
    stopThreads();
}

HWND MainWindow::createDialog(HINSTANCE module) {
    instance_ = module;
    HWND dialog = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_MAIN), nullptr, dialogProcedure,
                                     reinterpret_cast<LPARAM>(this));
    if (!dialog) return nullptr;
    window_ = dialog;
    ShowWindow(dialog, SW_SHOW);
    return dialog;
}

int MainWindow::translateAccelerator(MSG& message) {
    if (!accelerators_ || !window_) return 0;
    return TranslateAcceleratorA(window_, accelerators_, &message) ? 1 : 0;
}

MainWindow* MainWindow::fromWindow(HWND dialog) {
    return reinterpret_cast<MainWindow*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

int32_t MainWindow::startLoading(std::vector<std::string> paths, int32_t replace) {
    if (closing_) return 0;
    const int32_t started = loader_.startLoading(std::move(paths), replace);
    // No end message will come for a load that did not start: a command
    // kept while it was being started runs now.
    if (!started) parts_->runPendingCommand();
    return started;
}

}  // namespace tarnuvo
