#include "engine/graph_interfaces.h"

namespace tarnuvo {

HRESULT GraphInterfaces::create() {
    release();
    created = true;
    HRESULT hr =
        CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                         IID_IGraphBuilder, builder.putVoid());
    if (FAILED(hr)) return hr;
    if (FAILED(hr = builder->QueryInterface(IID_IMediaControl, control.putVoid()))) return hr;
    builder->QueryInterface(IID_IMediaSeeking, seeking.putVoid());
    if (FAILED(hr = builder->QueryInterface(IID_IMediaEvent, events.putVoid()))) return hr;
    if (FAILED(hr = builder->QueryInterface(IID_IBasicAudio, audio.putVoid()))) return hr;
    return builder->QueryInterface(IID_IVideoWindow, video.putVoid());
}

void GraphInterfaces::release() {
    video.reset();
    audio.reset();
    events.reset();
    control.reset();
    seeking.reset();
    builder.reset();
    created = false;
}

}  // namespace tarnuvo
