// The open, add and save dialogs of the playlist.
#include "ui/file_dialogs.h"

#include <windows.h>
#include <cderr.h>
#include <commdlg.h>

#include <vector>

#include "app/centering_hook.h"
#include "app/file_dialog.h"
#include "app/window_parts.h"
#include "playlist/playlist_file.h"
#include "resources/resource_ids.h"
#include "ui/hand_over.h"
#include "ui/small_dialogs.h"

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

void FileDialogs::openList() {
    if (frame_.loader().busy() || frame_.closing()) return;
    DialogTexts texts;
    loadTexts(frame_.instance(), IDS_OPEN_FILTER, IDS_OPEN_TITLE, texts);
    char file[kFileBufferSize];
    OPENFILENAMEA request;
    initFileDialog(request, frame_.window(), texts.filter, file, false);
    request.lpstrTitle = texts.title;
    centerNextDialog(frame_.window());
    if (!run(calls_.open, request)) return;
    PathIntake intake;
    takePath(intake, file);
    handOverPaths(std::move(intake), 1);
}

void FileDialogs::addFiles() {
    if (frame_.loader().busy() || frame_.closing()) return;
    DialogTexts texts;
    loadTexts(frame_.instance(), IDS_ADD_FILTER, IDS_ADD_TITLE, texts);
    std::vector<char> names(kSelectionBytes);
    OPENFILENAMEA request;
    initFileDialog(request, frame_.window(), texts.filter, names.data(), false);
    request.lpstrTitle = texts.title;
    request.Flags |= OFN_ALLOWMULTISELECT;
    request.nMaxFile = kSelectionBytes;
    centerNextDialog(frame_.window());
    if (!run(calls_.open, request)) {
        if (calls_.error() == FNERR_BUFFERTOOSMALL)
            dialogs_.showStringBox(IDS_TOO_MANY_FILES, MB_ICONEXCLAMATION);
        return;
    }
    handOverPaths(splitSelection(names.data(), names.size(), request.nFileOffset), 0);
}

void FileDialogs::saveList() {
    const Playlist& playlist = frame_.playlist();
    // During a load the entries are still growing: refused before the dialog opens.
    if (frame_.loader().busy() || frame_.closing() || playlist.empty()) return;
    DialogTexts texts;
    loadTexts(frame_.instance(), IDS_SAVE_FILTER, IDS_SAVE_TITLE, texts);
    char file[kFileBufferSize];
    OPENFILENAMEA request;
    initFileDialog(request, frame_.window(), texts.filter, file, true);
    request.lpstrTitle = texts.title;
    request.lpstrDefExt = "pll";
    centerNextDialog(frame_.window());
    if (!run(calls_.save, request)) return;
    // A failed write keeps the old file.
    if (!writePlaylistFile(file, playlist.entries(), playlist.album, playlist.comment,
                           playlist.relativePaths))
        dialogs_.showStringBox(IDS_SAVE_FAILED, MB_ICONEXCLAMATION);
}

BOOL FileDialogs::run(BOOL(WINAPI* dialog)(LPOPENFILENAMEA), OPENFILENAMEA& request) {
    // A load started inside the dialog's modal loop would refuse the user's
    // choice: hand-overs wait, and are posted once it has closed.
    handOver_.hold();
    const BOOL chosen = dialog(&request);
    handOver_.release();
    return chosen;
}

void FileDialogs::handOverPaths(PathIntake intake, int32_t replace) {
    if (!intake.paths.empty()) frame_.startLoading(std::move(intake.paths), replace);
    // Once for the whole selection or drop.
    if (intake.unnamed > 0) dialogs_.showStringBox(IDS_NAMES_NOT_SHOWN, MB_ICONEXCLAMATION);
}

}  // namespace tarnuvo
