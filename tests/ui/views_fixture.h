// The real main dialog with small ways to fill its list, to read its layout
// from outside and to answer its file dialogs.
#pragma once

#include <windows.h>

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "main_window_support.h"
#include "ui_test_support.h"

// Rectangles compared and printed in the checks (found through the
// platform's type, which lives in the global namespace).
inline bool operator==(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}
inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
    return out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

namespace tarnuvo::test {

// The controls of the layout, in its order: list, panel, seek slider,
// volume slider, volume label, the seven buttons.
constexpr int kLayoutIds[12] = {1000, 1001, 1002, 1020, 1021, 1010,
                                1011, 1012, 1013, 1014, 1015, 1016};
using Layout = std::array<RECT, 12>;

inline RECT moved(RECT r, LONG dx, LONG dy, LONG dWidth = 0, LONG dHeight = 0) {
    return {r.left + dx, r.top + dy, r.right + dx + dWidth, r.bottom + dy + dHeight};
}

class Views : public MainDialog {
protected:
    void TearDown() override {
        g_dialog = FakeDialog{};
        MainDialog::TearDown();
    }
    // Where the controls are, and where the window's records say they are.
    Layout layout() const {
        Layout rects;
        for (size_t i = 0; i < rects.size(); ++i) rects[i] = clientRectOf(window, kLayoutIds[i]);
        return rects;
    }
    Layout records() const {
        Layout rects;
        for (size_t i = 0; i < rects.size(); ++i) {
            const LayoutEntry& e = view().layout().entry(i);
            rects[i] = {e.x, e.y, e.x + e.width, e.y + e.height};
        }
        return rects;
    }
    SIZE client() const {
        RECT r = {};
        GetClientRect(window, &r);
        return {r.right, r.bottom};
    }
    bool waitIdle() {
        return pumpUntil(15000, [&] { return !main->loader().busy(); });
    }
    // A load that waits for this thread: busy until messages are served.
    void startHeldLoad() {
        ASSERT_TRUE(CopyFileA(demoWav().c_str(), (dir / "held.wav").c_str(), FALSE));
        main->startLoading({dir / "held.wav"}, 0);
        ASSERT_TRUE(main->loader().busy());
    }
    // Copies of the demo loop with these names in the scratch folder, loaded.
    std::vector<std::string> loadCopies(const std::vector<std::string>& names) {
        std::vector<std::string> paths;
        for (const std::string& name : names) {
            paths.push_back(dir / name);
            EXPECT_TRUE(CopyFileA(demoWav().c_str(), paths.back().c_str(), FALSE)) << name;
        }
        main->startLoading(paths, 0);
        EXPECT_TRUE(waitIdle());
        return paths;
    }
    // The paths the last load was given.
    const std::vector<std::string>& loadedPaths() { return main->loader().record().paths; }

    void useFakeDialogs() {
        view().fileDialogs().useCalls({fakeFileDialog, fakeFileDialog, fakeDialogError});
    }
    void select(int row) {
        ListView_SetItemState(item(1000), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        if (row < 0) return;
        ListView_SetItemState(item(1000), row, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_SetSelectionMark(item(1000), row);
    }
    // A notification of the list view, as the view sends it.
    void notify(UINT code, int row = -1) {
        NMITEMACTIVATE n = {};
        n.hdr = {item(1000), 1000, code};
        n.iItem = row;
        SendMessageA(window, WM_NOTIFY, 1000, reinterpret_cast<LPARAM>(&n));
    }
};

}  // namespace tarnuvo::test
