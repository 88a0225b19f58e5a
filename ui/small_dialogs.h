// The main window's small dialogs: a box with one of the program's strings,
// the version dialog and the box that tells which tag library is installed.
// It owns nothing; boxes take the window title from the tray part.
#pragma once

#include <windows.h>

namespace tarnuvo {

class WindowFrame;
class Tray;

class SmallDialogs {
public:
    SmallDialogs(WindowFrame& frame, const Tray& tray) : frame_(frame), tray_(tray) {}

    void showStringBox(UINT textId, UINT style) const;
    void showVersion() const;
    void showTagInfo() const;

private:
    WindowFrame& frame_;
    const Tray& tray_;
};

}  // namespace tarnuvo
