// The control record of a worker thread (loader, play thread). The thread
// reads `running` and writes `finished`; everything else belongs to the
// user-interface thread, which stops it only through stopWorker.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "base/handles.h"
#include "base/text_size.h"

namespace tarnuvo {

struct WorkerThread {
    virtual ~WorkerThread() = default;

    UniqueHandle thread;  // empty when no thread is known
    uint32_t threadId = 0;
    std::atomic<int32_t> running{0};   // the thread keeps working while this is 1
    std::atomic<int32_t> finished{0};  // set by the thread as its last act
    void* owner = nullptr;             // the application object
    char path[kTextSize] = {};
    std::vector<std::string> paths;
    int32_t parameter = 0;
    std::atomic<int32_t> stopRequested{0};
    // Tests hold the thread here, after its finished mark and end message.
    void (*endSeam)() = nullptr;
};

}  // namespace tarnuvo
