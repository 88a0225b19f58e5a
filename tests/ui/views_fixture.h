// The real main dialog with small ways to fill its list and to read its
// layout from outside.
#pragma once

#include <windows.h>

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "main_window_support.h"
#include "ui_test_support.h"

// Rectangles compared and printed in the checks (found by lookup from the
// platform's own type, which lives in the global namespace).
inline bool operator==(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}
inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
    return out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

namespace tarnuvo::test {

// The twelve controls of the layout, in the layout's order.
constexpr int kLayoutIds[12] = {1000, 1001, 1002, 1020, 1021, 1010,
                                1011, 1012, 1013, 1014, 1015, 1016};
using Layout = std::array<RECT, 12>;

inline RECT shifted(RECT r, LONG dx, LONG dy, LONG dWidth, LONG dHeight) {
    return {r.left + dx, r.top + dy, r.right + dx + dWidth, r.bottom + dy + dHeight};
}

class Views : public MainDialog {
protected:
    void TearDown() override {
        g_dialog = FakeDialog{};
        MainDialog::TearDown();
    }

    Layout layout() const {
        Layout rects;
        for (size_t i = 0; i < rects.size(); ++i) rects[i] = clientRectOf(window, kLayoutIds[i]);
        return rects;
    }
    // The layout records as the window keeps them.
    Layout records() const {
        Layout rects;
        for (size_t i = 0; i < rects.size(); ++i) {
            const LayoutEntry& e = main->layoutTable[i];
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
        return pumpUntil(15000, [&] { return !main->loader.busy(); });
    }
    // Copies of the demo loop named `names` in the scratch folder, loaded.
    std::vector<std::string> loadCopies(const std::vector<std::string>& names) {
        std::vector<std::string> paths;
        for (const std::string& name : names) {
            paths.push_back(dir / name);
            EXPECT_TRUE(CopyFileA(demoWav().c_str(), paths.back().c_str(), FALSE)) << name;
        }
        const int before = rows();
        main->startLoading(paths, 0);
        EXPECT_TRUE(waitForRows(before + static_cast<int>(names.size())));
        EXPECT_TRUE(waitIdle());
        return paths;
    }
    // The paths the last load was given.
    const std::vector<std::string>& loadedPaths() { return main->loader.record().paths; }

    void useFakeDialogs() {
        g_dialog = FakeDialog{};
        main->openFileDialog = fakeFileDialog;
        main->saveFileDialog = fakeFileDialog;
        main->fileDialogError = fakeDialogError;
    }

    void select(int row) {
        ListView_SetItemState(item(1000), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        if (row >= 0) {
            ListView_SetItemState(item(1000), row, LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
            ListView_SetSelectionMark(item(1000), row);
        }
    }
    // A notification of the list view as the view sends it.
    LRESULT notify(UINT code, int row = -1) {
        NMITEMACTIVATE n = {};
        n.hdr.hwndFrom = item(1000);
        n.hdr.idFrom = 1000;
        n.hdr.code = code;
        n.iItem = row;
        return SendMessageA(window, WM_NOTIFY, 1000, reinterpret_cast<LPARAM>(&n));
    }
};

}  // namespace tarnuvo::test
