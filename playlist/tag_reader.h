// Reads title and artist tags through the optional tag library "mp3infp.dll".
// Without the library every operation reports that nothing was found.
#pragma once

#include <cstdint>

#include "engine/track_info.h"
#include "playlist/module_handle.h"

namespace tarnuvo {

constexpr char kTagLibraryName[] = "mp3infp.dll";
// The oldest library version whose tags the players use.
constexpr uint32_t kTagReaderMinVersion = 0x247;

// Values of fileType() and bits of mp3TagType() that decide the lookup order.
constexpr uint32_t kTagFileUnknown = 0;
constexpr uint32_t kTagFileMp3 = 1;
constexpr uint32_t kTagKindId3v1 = 0x19;
constexpr uint32_t kTagKindRiffMp3 = 0x04;
constexpr uint32_t kTagKindId3v2 = 0xE2;
constexpr uint32_t kTagKindApe = 0x300;

class TagReader {
public:
    TagReader() = default;
    virtual ~TagReader();
    TagReader(const TagReader&) = delete;
    TagReader& operator=(const TagReader&) = delete;

    // Loads the library from the allowed folders; true when its version is
    // at least minVersion, otherwise it is left unloaded.
    bool load(uint32_t minVersion);
    void unload();
    bool isLoaded() const { return static_cast<bool>(module_); }

    uint32_t version();
    // The library's result (0 = read); -1 when it cannot be asked.
    int32_t loadFile(WindowHandle window, const char* path);
    uint32_t fileType();
    uint32_t mp3TagType();
    // The value's text, owned by the library until the next loadFile; "" when missing.
    const char* value(const char* name);

    // Replaces title and artist of `track` with the tags of the file that
    // are present and not empty.
    void readTags(const char* path, WindowHandle owner, TrackInfo& track);

private:
    void* lookup(const char* name) const;
    void take(const char* name, char (&field)[kTextSize]);

    ModuleHandle module_;
};

// readTags through one reader for the whole process, loaded on first use with
// the players' minimum version; calls from several threads take turns, since
// the library's values live only until its next load.
void readSharedTags(const char* path, WindowHandle owner, TrackInfo& track);

// Makes the DirectShow player read tags through readSharedTags.
void installTagFiller();

}  // namespace tarnuvo
