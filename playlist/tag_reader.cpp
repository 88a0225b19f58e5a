#include "playlist/tag_reader.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <new>

#include "engine/player_environment.h"
#include "engine/text.h"
#include "playlist/trusted_library.h"

namespace tarnuvo {

namespace {

using DwordFn = DWORD(WINAPI*)();
using LoadFn = DWORD(WINAPI*)(HWND, LPCSTR);
using GetValueFn = BOOL(WINAPI*)(LPCSTR, char**);

template <typename Fn>
Fn as(void* address) {
    return reinterpret_cast<Fn>(reinterpret_cast<INT_PTR>(address));
}

}  // namespace

TagReader::~TagReader() {
    unload();
}

bool TagReader::load(uint32_t minVersion) {
    unload();
    module_ = loadTrustedLibrary(kTagLibraryName);
    if (module_ && version() >= minVersion) return true;
    unload();
    return false;
}

void TagReader::unload() {
    module_.reset();
}

void* TagReader::lookup(const char* name) const {
    if (!module_) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module_.get()), name));
}

uint32_t TagReader::version() {
    auto fn = as<DwordFn>(lookup("mp3infp_GetVer"));
    return fn ? fn() : 0;
}

int32_t TagReader::loadFile(WindowHandle window, const char* path) {
    auto fn = as<LoadFn>(lookup("mp3infp_Load"));
    if (!fn || !path) return -1;
    // The library gets a copy of its own: it may keep or alter what it is given.
    const size_t size = std::strlen(path) + 1;
    std::unique_ptr<char[]> copy(new (std::nothrow) char[size]);
    if (!copy) return -1;
    std::memcpy(copy.get(), path, size);
    return static_cast<int32_t>(fn(static_cast<HWND>(window), copy.get()));
}

uint32_t TagReader::fileType() {
    auto fn = as<DwordFn>(lookup("mp3infp_GetType"));
    return fn ? fn() : kTagFileUnknown;
}

uint32_t TagReader::mp3TagType() {
    auto fn = as<DwordFn>(lookup("mp3infp_mp3_GetTagType"));
    return fn ? fn() : 0;
}

const char* TagReader::value(const char* name) {
    auto fn = as<GetValueFn>(lookup("mp3infp_GetValue"));
    char* text = nullptr;
    if (!fn || !fn(name, &text) || !text) return "";
    return text;
}

void TagReader::take(const char* name, char (&field)[kTextSize]) {
    const char* text = value(name);
    if (text[0] != '\0') copyText(field, kTextSize, text);
}

void TagReader::readTags(const char* path, WindowHandle owner, TrackInfo& track) {
    if (!isLoaded()) return;
    if (loadFile(owner, path) != 0) return;
    const uint32_t type = fileType();
    if (type == kTagFileUnknown) return;
    if (type != kTagFileMp3) {
        take("INAM", track.title);
        take("IART", track.artist);
        return;
    }
    const uint32_t kinds = mp3TagType();
    if (kinds & kTagKindId3v1) {
        take("INAM_v1", track.title);
        take("IART_v1", track.artist);
    }
    if (kinds & kTagKindRiffMp3) {
        take("INAM_rmp", track.title);
        take("IART_rmp", track.artist);
        return;
    }
    if (kinds & kTagKindId3v2) {
        take("INAM_v2", track.title);
        take("IART_v2", track.artist);
    }
    if (kinds & kTagKindApe) {
        take("INAM_APE", track.title);
        take("IART_APE", track.artist);
    }
}

void readSharedTags(const char* path, WindowHandle owner, TrackInfo& track) {
    static std::mutex lock;
    static TagReader reader;
    static bool tried = false;
    std::lock_guard<std::mutex> hold(lock);
    if (!tried) {
        tried = true;
        reader.load(kTagReaderMinVersion);
    }
    reader.readTags(path, owner, track);
}

void installTagFiller() {
    setTagFiller(&readSharedTags);
}

}  // namespace tarnuvo
