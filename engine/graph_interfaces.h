// The interfaces of one DirectShow filter graph, each possibly missing.
#pragma once

#include <dshow.h>

#include "engine/com_ptr.h"

namespace tarnuvo {

class GraphInterfaces {
public:
    GraphInterfaces() = default;
    virtual ~GraphInterfaces() { release(); }
    GraphInterfaces(const GraphInterfaces&) = delete;
    GraphInterfaces& operator=(const GraphInterfaces&) = delete;

    // Creates the graph and asks for the interfaces in a fixed order; a
    // missing seeking interface is tolerated, the others end the creation.
    HRESULT create();
    // Releases in the reverse order of dependence.
    void release();

    ComPtr<IGraphBuilder> builder;
    ComPtr<IMediaSeeking> seeking;
    ComPtr<IMediaControl> control;
    ComPtr<IMediaEvent> events;
    ComPtr<IBasicAudio> audio;
    ComPtr<IVideoWindow> video;
    bool created = false;
};

}  // namespace tarnuvo
