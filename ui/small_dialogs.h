// The main window's small dialogs: a box with one of the program's strings,
// the version dialog and the box that tells which tag library is installed.
// It owns nothing; boxes take the window title from the tray part.
#pragma once

#include <windows.h>

namespace tarnuvo {

class MainWindow;
class Tray;

class SmallDialogs {
public:
    SmallDialogs(MainWindow& legacy, const Tray& tray) : legacy_(legacy), tray_(tray) {}

    void showStringBox(UINT textId, UINT style) const;
    void showVersion() const;
    void showTagInfo() const;

private:
    MainWindow& legacy_;
    const Tray& tray_;
};

}  // namespace tarnuvo
