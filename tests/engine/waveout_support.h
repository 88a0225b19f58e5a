// Helpers for tests that play through the real waveOut device under Wine,
// whose ALSA default device writes every queued byte to $TARNUVO_CAPTURE.
#pragma once

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

#include "tests/engine/test_support.h"

namespace testing_support {

inline std::string capturePath() {
    const char* unix = std::getenv("TARNUVO_CAPTURE");
    if (!unix) return {};
    std::string p = std::string("Z:") + unix;
    for (char& c : p) c = c == '/' ? '\\' : c;
    return p;
}

inline Bytes readCapture() {
    return readFile(capturePath());
}

inline bool waitFor(const std::function<bool()>& pred, int timeoutMs);

// The device reports a buffer done when it has taken it, a little before the
// capture file holds it: wait for at least n bytes.
inline Bytes readCapture(size_t n, int timeoutMs = 5000) {
    Bytes b;
    waitFor([&] { return (b = readCapture()).size() >= n; }, timeoutMs);
    return b;
}

// Pumps this thread's messages until pred() holds or the time is up.
inline bool waitFor(const std::function<bool()>& pred, int timeoutMs) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!pred()) {
        if (std::chrono::steady_clock::now() > until) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(2);
    }
    return true;
}

inline void pumpFor(int ms) {
    waitFor([] { return false; }, ms);
}

// A message-only window that records the commands posted to it.
class CommandWindow {
public:
    CommandWindow() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &CommandWindow::proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TarnuvoTestOwner";
        RegisterClassA(&wc);
        hwnd_ = CreateWindowA("TarnuvoTestOwner", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              wc.hInstance, this);
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~CommandWindow() { DestroyWindow(hwnd_); }
    HWND hwnd() const { return hwnd_; }
    std::vector<WPARAM> commands;

private:
    static LRESULT CALLBACK proc(HWND h, UINT m, WPARAM w, LPARAM l) {
        if (m == WM_COMMAND) {
            auto* self = reinterpret_cast<CommandWindow*>(GetWindowLongPtrA(h, GWLP_USERDATA));
            if (self) self->commands.push_back(w);
            return 0;
        }
        return DefWindowProcA(h, m, w, l);
    }
    HWND hwnd_ = nullptr;
};

// True when `capture` is `want` followed by nothing but silence.
// The first non-zero byte at or after `from`, or capture.size().
inline size_t firstSound(const Bytes& capture, size_t from) {
    while (from < capture.size() && capture[from] == 0) ++from;
    return from;
}

inline ::testing::AssertionResult isStreamThenSilence(const Bytes& capture, const Bytes& want) {
    if (capture.size() < want.size())
        return ::testing::AssertionFailure()
               << "capture holds " << capture.size() << " of " << want.size() << " bytes";
    int64_t d = firstDifference(slice(capture, 0, want.size()), want);
    if (d >= 0) return ::testing::AssertionFailure() << "first difference at byte " << d;
    const size_t sound = firstSound(capture, want.size());
    if (sound < capture.size())
        return ::testing::AssertionFailure() << "sound after the end at byte " << sound;
    return ::testing::AssertionSuccess();
}

inline bool silentFrom(const Bytes& capture, size_t from) {
    return firstSound(capture, from) >= capture.size();
}

// For playback that was stopped: the capture follows `want` for at least
// `minBytes` and holds only silence after the first byte that differs. The
// device is reset in the middle of a buffer and pads what it had with silence.
inline ::testing::AssertionResult isCutStreamThenSilence(const Bytes& capture, const Bytes& want,
                                                         size_t minBytes) {
    const int64_t d =
        firstDifference(capture, slice(want, 0, std::min(want.size(), capture.size())));
    if (d < 0) return ::testing::AssertionSuccess();
    const size_t cut = static_cast<size_t>(d);
    if (cut < minBytes)
        return ::testing::AssertionFailure()
               << "first difference at byte " << cut << " of " << capture.size();
    const size_t sound = firstSound(capture, cut);
    if (sound < capture.size())
        return ::testing::AssertionFailure()
               << "first difference at byte " << cut << ", then sound at byte " << sound;
    return ::testing::AssertionSuccess();
}

inline Bytes scaled(const Bytes& pcm, uint32_t level) {
    const float gain = static_cast<float>(level & 0xFFFF) / 65535.0f;
    Bytes out = pcm;
    for (size_t i = 0; i + 1 < out.size(); i += 2) {
        auto s = static_cast<int16_t>(out[i] | out[i + 1] << 8);
        auto v = static_cast<int16_t>(static_cast<float>(s) * gain);
        out[i] = static_cast<uint8_t>(v);
        out[i + 1] = static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8);
    }
    return out;
}

}  // namespace testing_support
