// The open, add and save dialogs of the playlist.
#include <windows.h>
#include <cderr.h>
#include <commdlg.h>

#include <vector>

#include "app/centering_hook.h"
#include "app/file_dialog.h"
#include "app/main_window.h"
#include "base/window_messages.h"
#include "playlist/playlist_file.h"
#include "resources/resource_ids.h"
#include "ui/main_view.h"

namespace tarnuvo {
namespace {

// Room for several hundred names of a multiple selection.
constexpr DWORD kSelectionBytes = 64 * 1024;

struct DialogTexts {
    char filter[512] = {};
    char title[256] = {};
};

void loadTexts(HINSTANCE instance, UINT filterId, UINT titleId, DialogTexts& texts) {
    LoadStringA(instance, filterId, texts.filter, sizeof texts.filter);
    LoadStringA(instance, titleId, texts.title, sizeof texts.title);
}

}  // namespace

void MainWindow::openListDialog() {
    if (loader_.busy() || closing()) return;
    DialogTexts texts;
    loadTexts(instance_, IDS_OPEN_FILTER, IDS_OPEN_TITLE, texts);
    char file[kFileBufferSize];
    OPENFILENAMEA request;
    initFileDialog(request, window_, texts.filter, file, false);
    request.lpstrTitle = texts.title;
    centerNextDialog(window_);
    if (!runFileDialog(openFileDialog, request)) return;
    PathIntake intake;
    takePath(intake, file);
    handOverPaths(std::move(intake), 1);
}

void MainWindow::addFilesDialog() {
    if (loader_.busy() || closing()) return;
    DialogTexts texts;
    loadTexts(instance_, IDS_ADD_FILTER, IDS_ADD_TITLE, texts);
    std::vector<char> names(kSelectionBytes);
    OPENFILENAMEA request;
    initFileDialog(request, window_, texts.filter, names.data(), false);
    request.lpstrTitle = texts.title;
    request.Flags |= OFN_ALLOWMULTISELECT;
    request.nMaxFile = kSelectionBytes;
    centerNextDialog(window_);
    if (!runFileDialog(openFileDialog, request)) {
        if (fileDialogError() == FNERR_BUFFERTOOSMALL)
            showStringBox(IDS_TOO_MANY_FILES, MB_ICONEXCLAMATION);
        return;
    }
    handOverPaths(splitSelection(names.data(), names.size(), request.nFileOffset), 0);
}

void MainWindow::saveListDialog() {
    // During a load the entries are still growing: refused before the dialog opens.
    if (loader_.busy() || closing() || playlist_.empty()) return;
    DialogTexts texts;
    loadTexts(instance_, IDS_SAVE_FILTER, IDS_SAVE_TITLE, texts);
    char file[kFileBufferSize];
    OPENFILENAMEA request;
    initFileDialog(request, window_, texts.filter, file, true);
    request.lpstrTitle = texts.title;
    request.lpstrDefExt = "pll";
    centerNextDialog(window_);
    if (!runFileDialog(saveFileDialog, request)) return;
    // A failed write keeps the old file.
    if (!writePlaylistFile(file, playlist_.entries(), playlist_.album, playlist_.comment,
                           playlist_.relativePaths))
        showStringBox(IDS_SAVE_FAILED, MB_ICONEXCLAMATION);
}

BOOL MainWindow::runFileDialog(BOOL(WINAPI* dialog)(LPOPENFILENAMEA), OPENFILENAMEA& request) {
    // A load started inside the dialog's modal loop would refuse the user's
    // choice: hand-overs wait, and are posted once it has closed.
    mainView(*this).handOver().hold();
    const BOOL chosen = dialog(&request);
    mainView(*this).handOver().release();
    return chosen;
}

void MainWindow::handOverPaths(PathIntake intake, int32_t replace) {
    if (!intake.paths.empty()) startLoading(std::move(intake.paths), replace);
    // Once for the whole selection or drop.
    if (intake.unnamed > 0) showStringBox(IDS_NAMES_NOT_SHOWN, MB_ICONEXCLAMATION);
}

void MainWindow::showStringBox(UINT textId, UINT style) {
    char text[1024] = {};
    LoadStringA(instance_, textId, text, sizeof text);
    centeredMessageBox(window_, text, windowTitle(), style);
}

}  // namespace tarnuvo
