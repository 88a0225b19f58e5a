// The command dispatcher: one table from command ids to the parts'
// operations, with the guards the table gives each id, and the one playback
// command kept while a load or a stop runs.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/command_queue.h"

namespace tarnuvo {

class MainView;
class WindowFrame;
class GraphGate;
class PlayRoad;

class Commands final : public CommandQueue {
public:
    // The table names an operation of nearly every part: it reaches them
    // through the composition.
    Commands(MainView& view, WindowFrame& frame, PlayRoad& road, GraphGate& gate)
        : view_(view), frame_(frame), road_(road), gate_(gate) {}

    // Every WM_COMMAND counts as handled.
    INT_PTR onCommand(uint32_t id, uint32_t code);
    // The table has a row for the id.
    static bool handles(uint32_t id);

    void keep(uint32_t id) override { kept_ = id; }
    void clearKept() override { kept_ = 0; }
    void runKept() override;
    uint32_t kept() const { return kept_; }  // tests

private:
    MainView& view_;
    WindowFrame& frame_;
    PlayRoad& road_;
    GraphGate& gate_;
    uint32_t kept_ = 0;
};

}  // namespace tarnuvo
