// The one playback command refused during a load or a stop and run once
// neither is in progress. The play road keeps and runs it without knowing
// the command table.
#pragma once

#include <cstdint>

namespace tarnuvo {

class CommandQueue {
public:
    virtual void keep(uint32_t id) = 0;
    virtual void clearKept() = 0;
    virtual void runKept() = 0;

protected:
    ~CommandQueue() = default;
};

}  // namespace tarnuvo
