// The program entry; everything else is in the tarnuvo_main library.
#include <windows.h>

#include "app/application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return tarnuvo::runProgram(instance);
}
