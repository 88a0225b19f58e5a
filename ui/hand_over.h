// The first instance's side of a later start: the paths that arrive by
// WM_COPYDATA wait here until no load runs and no file dialog is open. It
// owns the waiting paths and the file dialog's hold; it shows the window
// through the tray part.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tarnuvo {

class WindowFrame;
class Tray;

class HandOver {
public:
    HandOver(WindowFrame& frame, Tray& tray) : frame_(frame), tray_(tray) {}
    HandOver(const HandOver&) = delete;
    HandOver& operator=(const HandOver&) = delete;

    INT_PTR onCopyData(const COPYDATASTRUCT* data);
    void onHandOver();
    // A load ended: the paths that waited for it are loaded next.
    void afterLoad();
    // A file dialog's modal loop: hand-overs wait until release posts them.
    void hold() { held_ = true; }
    void release();

private:
    WindowFrame& frame_;
    Tray& tray_;
    // Paths handed over by later starts, loaded once no load runs and no
    // file dialog is open.
    std::vector<std::string> pending_;
    bool held_ = false;
};

}  // namespace tarnuvo
