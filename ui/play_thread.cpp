// The play thread: it opens its copy of the entry with the native player or,
// when that refuses the file or the device refuses every format it offers,
// with DirectShow, starts it, and then waits until a stop clears its run flag.
// Whatever the window should show, the thread asks of the window thread with
// kPlayUpdateMessage.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstring>

#include "app/window_parts.h"
#include "base/window_messages.h"
#include "engine/text.h"
#include "playlist/reread_values.h"
#include "ui/play_buttons.h"
#include "ui/play_road.h"
#include "ui/info_panel.h"
#include "ui/list_pane.h"
#include "ui/seek_bar.h"
#include "ui/volume_control.h"
#include "ui/transport_buttons.h"
#include "ui/window_tray.h"

namespace tarnuvo {
namespace {

bool stopAsked(const WorkerThread& record) {
    return record.running == 0 || record.stopRequested != 0;
}

}  // namespace

// Runs the window's part of a stage: directly on the window thread, else by
// a synchronous message (a stop that waits for this thread serves it).
void PlayRoad::askWindow(PlayStage stage, Player* player) {
    const HWND window = frame_.window();
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
        onPlayUpdate(stage, reinterpret_cast<LPARAM>(player));
    } else {
        SendMessageA(window, kPlayUpdateMessage, stage, reinterpret_cast<LPARAM>(player));
    }
}

unsigned __stdcall PlayRoad::threadMain(void* argument) {
    auto& road = *static_cast<PlayRoad*>(argument);
    WorkerThread& record = road.worker_;
    // The DirectShow player's poll thread uses the graph opened here: both
    // live in the multithreaded apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // a queue for the wake message
    const int32_t result = road.openAndStart(road.entry_.location);
    record.parameter = result;
    // A started track ends only by a stop: the player itself reads Stopped
    // for a while after a seek, until the window thread starts it again.
    while (result == kPlayStarted && record.running) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_POSTMESSAGE);
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    if (SUCCEEDED(com)) CoUninitialize();
    const HWND window = road.frame_.window();
    const DWORD self = GetCurrentThreadId();
    void (*const seam)() = record.endSeam;
    // Nothing touches the record once this reads 1; the window then
    // collects a failed thread at once rather than on its next timer.
    record.finished = 1;
    if (result == kPlayFailed) PostMessageA(window, kPlayUpdateMessage, PlayStageEnded, self);
    if (seam) seam();
    return 0;
}

int32_t PlayRoad::openAndStart(const char* path, bool graphOnly) {
    // Without a path this runs on the window thread, which alone switches
    // the current player.
    Player* player = path ? nullptr : current_;
    if (path) {
        // Values read from a list file win over the file's own.
        const TrackInfo* stored = entry_.infoKnown ? &entry_ : nullptr;
        const int32_t index = entry_.listIndex;
        player = &waveOut_;
        if (graphOnly || waveOut_.open(path, index, 0, stored) == -1) {
            waveOut_.infoKnown = 0;
            player = &directShow_;
            if (directShow_.open(path, index, 0, stored) == -1) {
                // Also forgets a length it took from the entry before failing.
                directShow_.reset();
                return kPlayFailed;
            }
        }
    }
    player->applyLoopRange();
    if (path && stopAsked(worker_)) {
        player->reset();
        return kPlayCancelled;
    }
    askWindow(path ? PlayStageOpened : PlayStageSeekable, player);
    if (path && stopAsked(worker_)) {
        player->reset();
        return kPlayCancelled;
    }
    if (player->play(0) == 0) {
        // No device, or too few buffers: the file is let go, so that an
        // extracted member can be deleted.
        player->stop();
        player->reset();
        // The device refused every format the native player offers: the
        // graph may still play the file, and its open is reported anew.
        if (path && player == &waveOut_) return openAndStart(path, true);
        return kPlayFailed;
    }
    askWindow(PlayStageStarted, player);
    return kPlayStarted;
}

void PlayRoad::onPlayUpdate(WPARAM stage, LPARAM data) {
    switch (stage) {
        case PlayStageOpened: {
            auto* player = reinterpret_cast<Player*>(data);
            if (player != &waveOut_ && player != &directShow_) return;
            openReported_ = true;
            current_ = player;
            volume_.setTarget(player->isDirectShow() != 0);
            // Rows deleted during a slow open move the entry, or take it away:
            // only a row that still shows this file is rewritten.
            const TrackInfo* entry = playlist_.entryAt(playlist_.currentIndex);
            if (entry && std::strcmp(entry->location, player->location) == 0) {
                player->listIndex = playlist_.currentIndex;
                storeOpened(playlist_, playlist_.currentIndex, *player);
                list_.updateRow(playlist_.currentIndex, *player);
            }
            panel_.redraw(true, true);
            rememberMemberFile(player->location);
            [[fallthrough]];
        }
        case PlayStageSeekable:
            seek_.enable(current_->seekable && current_->length != 0);
            seek_.setUpFor(*current_);
            return;
        case PlayStageStarted:
            // Also the window's own restart after a seek, which is no start.
            if (starting_) finishStarting(true);
            failedInRow_ = 0;
            for (int32_t i : {kPlayButton, kPauseButton, kStopButton})
                EnableWindow(buttons_.handle(i), TRUE);
            tray_.updateTip();
            panel_.redraw(true, true);
            return;
        case PlayStageEnded:
            if (worker_.thread && worker_.threadId == static_cast<uint32_t>(data))
                openFailedCheck();
            return;
        default:
            return;
    }
}

void PlayRoad::rememberMemberFile(const char* location) {
    const char* bar = findLastSeparator(location, '|');
    if (!bar) return;
    char file[kTextSize];
    if (env_.tempFileFor(bar + 1, file)) env_.rememberTempFile(file);
}

void PlayRoad::forgetMemberFile(const char* location) {
    const char* bar = findLastSeparator(location, '|');
    if (!bar) return;
    char file[kTextSize];
    if (!env_.tempFileFor(bar + 1, file)) return;
    if (lstrcmpiA(file, env_.tempFile) == 0) {
        env_.rememberTempFile("");  // deletes it
    } else {
        DeleteFileA(file);
    }
}

void PlayRoad::adoptFinishedThread(HANDLE thread, uint32_t id, int32_t result) {
    worker_.thread.reset(thread);
    worker_.threadId = id;
    worker_.running = 1;
    worker_.parameter = result;
    worker_.finished = 1;
}

}  // namespace tarnuvo
