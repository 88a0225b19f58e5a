// The application object: the main dialog and its controls, the two players,
// the playlist with its loader, the play thread's record, the tray icon and
// the information panel's back buffer. Its operations live in one file per
// concern: app/ holds set-up, the dialog procedure and its small handlers
// and closing; ui/ holds the views, the subclass forwarders, the tray glue,
// the hand-over and the commands.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/app_environment.h"
#include "app/back_buffer.h"
#include "app/com_apartment.h"
#include "app/panel_areas.h"
#include "app/panel_lines.h"
#include "app/visual_styles.h"
#include "app/window_parts.h"
#include "base/handles.h"
#include "base/worker_thread.h"
#include "engine/directshow_player.h"
#include "engine/waveout_player.h"
#include "playlist/playlist.h"
#include "playlist/playlist_host.h"
#include "playlist/playlist_loader.h"

namespace tarnuvo {

// A control's rectangle in its parent's client coordinates.
struct LayoutEntry {
    HWND control = nullptr;
    HWND parent = nullptr;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

enum LayoutSlot : int32_t {
    LayoutList = 0,
    LayoutPanel = 1,
    LayoutSeek = 2,
    LayoutVolume = 3,
    LayoutVolumeLabel = 4,
    LayoutFirstButton = 5,
    kLayoutEntries = 12,
};
constexpr int32_t kButtonCount = 7;

// The four controls whose window procedures the main window replaces.
enum SubclassSlot : int32_t {
    SubclassList = 0,
    SubclassSeek = 1,
    SubclassVideo = 2,
    SubclassPanel = 3,
    kSubclassCount = 4,
};

// The window's outer rectangle while the playlist is hidden; width 0: none.
struct LockedSize {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// PaintState of the panel, read by the refresh timer.
enum PaintState : int32_t { PaintIdle = 0, PaintRequested = 1, PaintPainted = 2 };

// The window property by which a second start finds the first window (its
// title changes with the album).
constexpr char kMainWindowProperty[] = "Tarnuvo.MainWindow";

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

class MainWindow : public PlaylistHost {
    // The window-wide state comes first: the members below take it in their
    // initializers.
    AppEnvironment& env_;
    WaveOutPlayer waveOut_;
    DirectShowPlayer directShow_;
    Playlist playlist_{*this};
    PlaylistLoader loader_{playlist_, *this, env_};
    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr;
    HACCEL accelerators_ = nullptr;
    UniqueIcon windowIcon_;

public:
    // ---- The window itself: start-up, the dialog procedure, closing.
    // A null command line stands for the process's own (tests give one).
    MainWindow(AppEnvironment& environment, const char* commandLine);
    virtual ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Start-up and the message loop (app/main_window.cpp).
    HWND createDialog(HINSTANCE module);
    int translateAccelerator(MSG& message);
    static MainWindow* fromWindow(HWND dialog);
    WindowParts& parts() { return *parts_; }

    // Set-up (app/dialog_setup.cpp); the parts' share runs in WindowParts::setUp.
    int setupDialog();
    void loadCommandLineFile();

    // The dialog procedure and the window-wide messages (app/dialog_procedure.cpp,
    // app/dialog_messages.cpp).
    static INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR onInitDialog(HWND dialog);
    void onBackgroundPress();
    INT_PTR onClose();
    INT_PTR onEndSession(WPARAM ending);

    // Closing (app/close_window.cpp).
    void closeMainWindow();
    void stopThreads();

    int32_t startLoading(std::vector<std::string> paths, int32_t replace);
    bool closing() const override { return closing_; }

    AppEnvironment& environment() { return env_; }
    WaveOutPlayer& waveOut() { return waveOut_; }
    DirectShowPlayer& directShow() { return directShow_; }
    Playlist& playlist() { return playlist_; }
    PlaylistLoader& loader() { return loader_; }
    HINSTANCE instance() const { return instance_; }
    HWND window() const { return window_; }

    // ---- The play road (ui/play_road.cpp, ui/play_start.cpp, ui/play_thread.cpp,
    // ui/commands_tracks.cpp).
    void playSelected();
    // Choosing a track: select the target row (clamped) and play it.
    void selectAndPlay(int32_t target);
    void playPrevious();
    void playNext();
    void playRandom();
    // Play thread with the entry's location, or window thread without a path
    // after a seek: kPlayStarted, kPlayFailed, or kPlayCancelled when a stop
    // came first. `graphOnly` skips the native player.
    int32_t openAndStart(const char* path, bool graphOnly = false);
    void restartAt(uint32_t position);
    void stopPlayback() override;
    void togglePause(bool holdOnly);
    // The play thread's requests (kPlayUpdateMessage), and its end.
    void onPlayUpdate(WPARAM stage, LPARAM player);
    // What the report of a track that could not be started needs, taken
    // before anything served meanwhile can start another track.
    struct PlayFailure {
        uint32_t advance = 0;
        bool opened = false;
        char location[kTextSize] = {};
    };
    PlayFailure takePlayFailure();
    void reportPlayFailure(const PlayFailure& failure);
    // The report of a track that could not be started, from timer 3.
    void openFailedCheck();
    // The state the views and commands go by: while a track starts, Playing,
    // or Paused when a pause waits for the start.
    int32_t playbackState() const;
    int32_t playerState() const override { return playbackState(); }
    // The play thread reported its track started, or was collected: what
    // was kept meanwhile is applied to the player.
    void finishStarting(bool started);
    void showPlaybackStopped();
    // Stops and collects the play thread, serving messages meanwhile; a
    // thread that failed leaves no extracted member file behind.
    void collectPlayThread();

    WorkerThread playWorker;
    Player* currentPlayer = &waveOut_;
    // The play road's state. The play thread reads only its copy of the
    // entry; the rest belongs to the window thread.
    TrackInfo playEntry;
    bool stopping = false;      // a stop waits for the play thread
    bool openReported = false;  // the play thread opened its file
    // From playSelected until the play thread reports its track started, or
    // is collected, the players are the thread's: the window reads neither,
    // the panel shows playEntry, and pause, seek and volume wait.
    bool starting = false;
    bool pausePending = false;
    bool seekPending = false;  // to the seek slider's place
    bool volumePending = false;
    // An end-of-track advance (41020, 41022) hands its id to the playSelected
    // it calls; the track then started keeps it, so that its failure is
    // skipped rather than reported. 0: the user chose the track.
    uint32_t advancing = 0;
    uint32_t playAdvance = 0;
    int32_t failedInRow = 0;  // advanced tracks that failed one after another
    std::mt19937 randomPicks{randomSeed()};
    HWND videoArea = nullptr;

    // ---- The subclassed controls (ui/subclass_procedures.cpp forwards);
    // each part takes its own procedure.
    void subclassControls();
    LRESULT callFormer(SubclassSlot slot, HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    WNDPROC formerProcedures[kSubclassCount] = {};

    // ---- The information panel (ui/info_panel.cpp, ui/info_panel_clicks.cpp,
    // ui/panel_buffer.cpp, the timers in ui/sliders.cpp).
    void measurePanel();
    void fitPanelToLines();
    void rebuildPanelBuffer();
    void paintInfoPanel();
    void redrawInfoPanel(bool full, bool present, const TrackInfo* entry = nullptr);
    // Redraws whatever the panel shows now: the current player while a track
    // plays or the list is empty, else the selected entry, else (nothing
    // selected) the current player.
    void refreshInfoPanel(bool full);
    // Presses and double clicks of either button.
    void onPanelPress(UINT message, int32_t x, int32_t y);
    void stepLoopCount(int32_t step);
    UniqueMenu trackPopupMenu() const;
    void showLoading(bool on) override;
    void onRefreshTimer();
    void onBlinkTimer();

    HWND infoPanel = nullptr;
    PanelLines panelLines;
    RECT panelClient = {};
    BackBuffer panelBuffer;
    int32_t paintState = PaintIdle;
    uint32_t pausedPosition = 0;
    bool blinkVisible = true;
    PanelAreas panelAreas;
    bool loadingShown = false;  // the loader's mark on the panel's file line

    // ---- The playlist pane (ui/list_view.cpp, ui/commands_list.cpp,
    // ui/dialog_controls.cpp): the playlist host's rows, the view's
    // notifications, the toolbar.
    HWND createToolbar();
    void setupListView();
    int32_t rowCount() const override;
    void insertRows(int32_t index, const TrackInfo* tracks, int32_t count) override;
    void updateRow(int32_t index, const TrackInfo& track) override;
    void deleteRow(int32_t index) override;
    void deleteAllRows() override;
    void selectRow(int32_t index) override;
    int32_t selectedRow() const override;
    void onSelectionChanged() override;
    void resetPanelAfterClear() override;
    // The toolbar's and the transport buttons' enabled states (ui/window_title.cpp).
    void updateListControls() override;
    INT_PTR onNotify(const NMHDR& header);
    void deleteSelected();
    void moveSelected(bool up);
    void rereadEntries();
    void moveFocusOffHiddenList();

    HWND listView = nullptr;
    HWND toolbar = nullptr;
    UniqueImageList toolbarImages;
    int32_t toolbarHeight = 0;

    // ---- The layout (ui/layout.cpp, ui/dialog_controls.cpp, app/dialog_setup.cpp).
    void bindControls();
    void refreshLayoutEntry(int32_t slot);
    void moveLayoutEntry(int32_t slot, int32_t dx, int32_t dy, int32_t dWidth, int32_t dHeight,
                         bool repaint);
    void redrawWholeWindow();
    void onSize(uint32_t type, int32_t width, int32_t height);
    void togglePlaylist();
    void onGetMinMaxInfo(MINMAXINFO& info) const;
    void applyStoredWindowState();

    HWND etchedLine = nullptr;
    LayoutEntry layoutTable[kLayoutEntries];
    RECT dialogClient = {};
    // Layout state: the client size before the last WM_SIZE (0 until set-up
    // has finished), the collapse flag and the size locked while the
    // playlist is hidden (width 0: no lock).
    int32_t previousWidth = 0;
    int32_t previousHeight = 0;
    bool collapsePending = false;
    LockedSize locked;

    // ---- The transport buttons (ui/buttons.cpp, ui/dialog_controls.cpp,
    // app/dialog_setup.cpp).
    void setupButtons();
    void ownerDrawButton(HWND button);
    void setupVisualStyles();
    void onDrawItem(UINT id, const DRAWITEMSTRUCT& item);
    void onSetCursor(HWND under);
    void applyButtonTheme();
    // The pause button looks pressed while the track is paused.
    void showPauseLook();
    void onThemeChanged();
    void paintButton(int32_t index, HDC dc, const RECT& face, UINT state);
    void drawButton(HWND button, bool hot);
    void clearHotButton();

    HWND buttons[kButtonCount] = {};
    UniqueImageList buttonImages;
    UniqueIcon buttonIcons[kButtonCount];
    HWND hotButton = nullptr;
    // Open while the transport buttons are drawn with the theme's look.
    UniqueTheme buttonTheme;
    bool (*themesActive)() = visualStylesActive;  // tests replace it

    // ---- The seek slider (ui/sliders.cpp).
    void setupSeekSlider(const TrackInfo& track);
    void onScroll(int32_t code, HWND slider);
    void onSeekScroll(int32_t code);
    void seekToSlider();
    bool seekSliderTakesPress(LPARAM point);

    HWND seekSlider = nullptr;
    bool seekDragPaused = false;  // the thumb's drag paused the track

    // ---- The volume slider and the tooltips (ui/sliders_volume.cpp,
    // ui/tool_tips.cpp, ui/dialog_controls.cpp).
    HWND createTooltips();
    void setupVolumeSlider();
    void setVolumeTarget(bool isDirectShow);
    void onVolumeScroll(int32_t code);
    void applyVolumeSlider();
    void showVolumeTip(bool show);
    // False when the notification is no tooltip's question about our tools.
    bool onToolTipText(NMHDR& header);

    HWND volumeSlider = nullptr;
    HWND volumeLabel = nullptr;
    HWND tooltips = nullptr;
    Player* volumeTarget = &waveOut_;
    int32_t savedVolume = 0;
    bool volumeAvailable = false;

    // ---- The tray and the title (ui/window_tray.cpp; forwarders in ui/bridge_c2.cpp).
    void updateWindowTitle() override;
    void updateTrayTip();
    const char* windowTitle();
    // Shows the window again, as the tray icon's click does.
    void restoreFromTray();

    // ---- The small dialogs and the file dialogs (ui/small_dialogs.cpp,
    // ui/file_dialogs.cpp, ui/drop.cpp; forwarders in ui/bridge_c2.cpp).
    void showVersionDialog();
    void showTagInfo();
    void openListDialog();
    void addFilesDialog();
    void saveListDialog();

    // ---- Graph calls that must wait while a modal dialog has moved the
    // window thread into another apartment (ui/open_failed.cpp).
    void noteSteadyApartment();
    bool graphCallsDeferred() const;
    void runDeferredCommand();

    // A player command that arrived while graph calls had to wait.
    uint32_t deferredCommand = 0;
    // The apartment of the window thread outside modal dialogs. Windows
    // leaves it in the implicit multithreaded apartment; Wine's input method
    // puts every window thread into a single-threaded one for good. Only a
    // change from this steady state (a file dialog's) makes graph calls wait.
    bool steadySingleThreaded = false;
    bool (*apartmentIsSingleThreaded)() = inSingleThreadedApartment;  // tests replace it

    // ---- The commands (ui/commands.cpp).
    INT_PTR onCommand(uint32_t id, uint32_t code, LPARAM lParam);
    // The one playback command refused during a load or a stop, run once
    // neither is in progress.
    void runPendingCommand();

    uint32_t pendingCommand = 0;  // see runPendingCommand

    // ---- The menus' modes (ui/commands_modes.cpp, app/dialog_setup.cpp).
    void setupMenus();
    void toggleAlwaysOnTop();
    void toggleGridLines();
    void setTimeMode(uint32_t id);
    void setPlayMode(uint32_t id);
    void toggleLoopIgnore();
    void toggleFadeOut();
    void setFadeLength(uint32_t id);
    // The fade items' checks from the settings.
    void checkFadeItems();
    void applyFadeSettings();
    void refreshPanelForSettings();

private:
    const char* commandLine_;
    bool closing_ = false;  // refuses every command from the first close on
    bool closed_ = false;   // closeMainWindow has run
    std::unique_ptr<WindowParts> parts_;
};

}  // namespace tarnuvo
