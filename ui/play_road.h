// The play road: from a list row to a playing track and back to stopped. It
// owns the play thread's record, the entry being played, the current player,
// the stop and start flags, the user's actions kept while a track starts,
// the advance at the end of a track and its failures, and the video area's
// procedure. It calls the list pane (rows), the panel, the seek and volume
// sliders, the transport buttons, the tray (tip, title) and the command
// queue; the other parts read its state through the queries below.
#pragma once

#include <windows.h>

#include <cstdint>
#include <random>

#include "app/app_environment.h"
#include "base/worker_thread.h"
#include "engine/directshow_player.h"
#include "engine/waveout_player.h"
#include "playlist/playlist.h"
#include "ui/command_queue.h"
#include "ui/subclassed_control.h"

namespace tarnuvo {

class InfoPanel;
class ListPane;
class SeekBar;
class TransportButtons;
class Tray;
class VolumeControl;
class WindowFrame;

// The play road's requests to the window thread (wParam of
// kPlayUpdateMessage): a file opened, a seek's restart about to start, the
// track started, the thread ended. The play thread's results go into its
// record's parameter.
enum PlayStage : int32_t {
    PlayStageOpened = 1,
    PlayStageSeekable = 2,
    PlayStageStarted = 3,
    PlayStageEnded = 4,
};
enum PlayResult : int32_t { kPlayFailed = 0, kPlayStarted = 1, kPlayCancelled = 2 };

// A seed from the clock, taken once per window.
uint32_t randomSeed();

class PlayRoad {
public:
    // Stores the references only: the parts are built in one go.
    PlayRoad(WindowFrame& frame, CommandQueue& commands, ListPane& list, InfoPanel& panel,
             SeekBar& seek, VolumeControl& volume, TransportButtons& buttons, Tray& tray);
    PlayRoad(const PlayRoad&) = delete;
    PlayRoad& operator=(const PlayRoad&) = delete;

    void bind(HWND dialog);
    void subclassVideoArea();

    void playSelected();
    // Choosing a track: select the target row (clamped) and play it.
    void selectAndPlay(int32_t target);
    void playPrevious();
    // An end-of-track advance (41020, 41022) passes its id, so that a
    // failure of the track it starts is skipped rather than reported; 0:
    // the user chose the track.
    void playNext(uint32_t advance = 0);
    void playRandom(uint32_t advance = 0);
    void stopPlayback();
    void togglePause(bool holdOnly);
    void restartAt(uint32_t position);
    // The play thread's requests (kPlayUpdateMessage), and its end.
    void onPlayUpdate(WPARAM stage, LPARAM data);
    // The report of a track that could not be started, from timer 3.
    void openFailedCheck();
    // Stops and collects the play thread, serving messages meanwhile; a
    // thread that failed leaves no extracted member file behind.
    void collectPlayThread();

    // The state the views and commands go by: while a track starts, Playing,
    // or Paused when a pause waits for the start.
    int32_t state() const;
    // From playSelected until the play thread reports its track started, or
    // is collected, the players are the thread's: the window reads neither,
    // the panel shows entry(), and pause, seek and volume wait.
    bool starting() const { return starting_; }
    bool stopping() const { return stopping_; }
    bool opened() const { return openReported_; }
    Player& current() const { return *current_; }
    const TrackInfo& entry() const { return entry_; }
    // What the tray tip names: the entry while it starts, else the player's.
    const TrackInfo& shownTrack() const;
    // A seek or a volume change waits for the start.
    void keepSeek() { seekPending_ = true; }
    void keepVolume() { volumePending_ = true; }
    bool volumeKept() const { return volumePending_; }
    // The modes changed: the playing track takes its range again.
    void applyModes();
    // Rows moved: the playing track's number follows its entry.
    void renumberAfterMove(int32_t before);
    // The list was cleared: a track that never told its length shows none.
    void forgetUnknownLength();
    void fullScreen();
    void toggleWaveOut();

    // For tests.
    void makeCurrent(Player& player) { current_ = &player; }
    void seedRandom(uint32_t seed) { randomPicks_.seed(seed); }
    void setThreadEndSeam(void (*seam)()) { worker_.endSeam = seam; }
    bool threadHeld() const { return static_cast<bool>(worker_.thread); }
    uint32_t threadId() const { return worker_.threadId; }
    bool threadFinished() const { return worker_.finished == 1; }
    // A thread that has stored `result` and marked itself finished, as if
    // this road had started it.
    void adoptFinishedThread(HANDLE thread, uint32_t id, int32_t result);
    void dropThread() { worker_.thread.reset(); }

private:
    struct PlayFailure {
        uint32_t advance = 0;
        bool opened = false;
        char location[kTextSize] = {};
    };

    static unsigned __stdcall threadMain(void* road);
    // Play thread with the entry's location, or window thread without a path
    // after a seek: kPlayStarted, kPlayFailed, or kPlayCancelled when a stop
    // came first. `graphOnly` skips the native player.
    int32_t openAndStart(const char* path, bool graphOnly = false);
    void askWindow(PlayStage stage, Player* player);
    // What the report of a track that could not be started needs, taken
    // before anything served meanwhile can start another track.
    PlayFailure takePlayFailure();
    void reportPlayFailure(const PlayFailure& failure);
    void showOpenFailed();
    // The play thread reported its track started, or was collected: what
    // was kept meanwhile is applied to the player.
    void finishStarting(bool started);
    void showPlaybackStopped();
    // A member reference that has just opened makes its extracted file the
    // remembered temporary file; one that failed leaves none behind.
    void rememberMemberFile(const char* location);
    void forgetMemberFile(const char* location);
    static LRESULT CALLBACK videoProcedure(HWND control, UINT message, WPARAM wParam,
                                           LPARAM lParam);

    WindowFrame& frame_;
    AppEnvironment& env_;
    WaveOutPlayer& waveOut_;
    DirectShowPlayer& directShow_;
    Playlist& playlist_;
    CommandQueue& commands_;
    ListPane& list_;
    InfoPanel& panel_;
    SeekBar& seek_;
    VolumeControl& volume_;
    TransportButtons& buttons_;
    Tray& tray_;

    WorkerThread worker_;
    Player* current_;
    // The play thread reads only its copy of the entry; the rest belongs to
    // the window thread.
    TrackInfo entry_;
    bool stopping_ = false;           // a stop waits for the play thread
    bool collectingFailure_ = false;  // openFailedCheck waits for the thread
    bool openReported_ = false;       // the play thread opened its file
    bool starting_ = false;
    bool pausePending_ = false;
    bool seekPending_ = false;  // to the seek slider's place
    bool volumePending_ = false;
    // The advance id handed to the playSelected it calls (see playNext),
    // then kept by the track being started.
    uint32_t advancing_ = 0;
    uint32_t playAdvance_ = 0;
    int32_t failedInRow_ = 0;  // advanced tracks that failed one after another
    std::mt19937 randomPicks_{randomSeed()};
    HWND videoArea_ = nullptr;
    SubclassedControl videoSubclass_;
};

}  // namespace tarnuvo
