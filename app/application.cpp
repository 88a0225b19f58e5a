#include "app/application.h"

#include <windows.h>
#include <commctrl.h>
#include <imm.h>

#include "app/command_line.h"
#include "app/single_instance.h"
#include "playlist/archive_extractor.h"
#include "playlist/tag_reader.h"

namespace tarnuvo {

Application::Application(HINSTANCE module, const StartOptions& options)
    : module_(module), options_(options) {}

Application::~Application() {
    if (mainWindow_) {
        mainWindow_->stopThreads();
        // After the end of a session the dialog and its subclassed controls
        // still exist; they go before the object that holds their procedures.
        HWND dialog = mainWindow_->window();
        if (dialog && IsWindow(dialog)) DestroyWindow(dialog);
        mainWindow_.reset();
    }
    // The players take the lock in their resets and destructors: it goes after them.
    installOutputLock(nullptr);
    lock_.reset();
    environment_.reset();
}

void Application::prepare() {
    // The environment comes first: the main window's loader holds on to it.
    environment_ = std::make_unique<AppEnvironment>(options_.paths);
    lock_ = std::make_unique<OutputLock>();
    installOutputLock(lock_.get());
    mainWindow_ = std::make_unique<MainWindow>(*environment_, options_.commandLine);
    INITCOMMONCONTROLSEX classes = {};
    classes.dwSize = sizeof classes;
    classes.dwICC = ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES;
    InitCommonControlsEx(&classes);
    installMemberResolver();
    installTagFiller();
    environment_->loadSettings();
}

HWND Application::open() {
    HWND dialog = mainWindow_->createDialog(module_);
    if (dialog) ImmAssociateContext(dialog, nullptr);
    return dialog;
}

void Application::run() {
    MSG message;
    for (;;) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) return;
        if (mainWindow_->translateAccelerator(message)) continue;
        HWND dialog = mainWindow_->window();
        if (dialog && IsDialogMessageA(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

int runProgram(HINSTANCE module) {
    InstanceClaim claim;
    if (!claim.claim(kInstanceMutexName) &&
        handOverToRunningInstance(claim, commandLineFile(GetCommandLineA())))
        return 0;
    Application application(module);
    if (application.start()) application.run();
    return 0;
}

}  // namespace tarnuvo
