// libFuzzer target: the list-file reader over any bytes, then the writer and
// the reader again. The first input byte picks the list's path; the rest is
// the file. Whatever was read must come back from what was written, field for
// field, wherever the writer keeps a text as it is; and what was written,
// read and saved again, is the same file byte for byte.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "engine/text.h"
#include "playlist/playlist_file.h"
#include "playlist/profile_text.h"

namespace {

using namespace tarnuvo;

const char* const kListPaths[] = {
    "C:\\lists\\a.pll",
    "D:\\\x83\x5C\\list.pll",  // a folder ending in a 0x5C trail byte
    "list.pll",                // no folder
    "\\\\server\\share\\x.pll",
    "C:\\aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"
    "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\\\x82\xA0\\x.pll",
};

// A text the writer writes as it is: no byte below 0x20 and no lead byte
// without its second byte at the end.
bool keptAsIs(const char* text) {
    const TextCodec& codec = systemCodec();
    for (size_t i = 0; text[i] != '\0'; ++i) {
        if (static_cast<uint8_t>(text[i]) < 0x20) return false;
        if (codec.isLeadByte(static_cast<uint8_t>(text[i]))) {
            if (text[i + 1] == '\0') return false;
            if (static_cast<uint8_t>(text[i + 1]) < 0x20) return false;
            ++i;
        }
    }
    return true;
}

void check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "round trip lost %s\n", what);
    std::abort();
}

void checkText(const char* before, const char* after, const char* what) {
    if (keptAsIs(before)) check(std::strcmp(before, after) == 0, what);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const char* listPath = kListPaths[data[0] % std::size(kListPaths)];
    // An exact-size copy so that any read past the end is caught.
    const size_t n = size - 1;
    std::unique_ptr<char[]> copy(new char[n ? n : 1]);
    if (n) std::memcpy(copy.get(), data + 1, n);
    const std::string_view bytes(copy.get(), n);

    playlistFileVersion(bytes);
    PlaylistFileContents first;
    if (!parsePlaylistFile(bytes, listPath, first)) {
        check(first.entries.empty(), "nothing when refused");
        return 0;
    }
    check(!first.entries.empty() && first.entries.size() <= kMaxListEntries, "count");
    const std::string written = formatPlaylistFile(first.entries, first.album, first.comment,
                                                   first.relativePaths, listPath);
    PlaylistFileContents second;
    check(parsePlaylistFile(written, listPath, second) == 1, "the list");
    check(second.entries.size() == first.entries.size(), "entries");
    checkText(first.album, second.album, "album");
    checkText(first.comment, second.comment, "comment");
    for (size_t i = 0; i < first.entries.size(); ++i) {
        const TrackInfo& a = first.entries[i];
        const TrackInfo& b = second.entries[i];
        checkText(a.location, b.location, "location");
        checkText(a.title, b.title, "title");
        checkText(a.artist, b.artist, "artist");
        check(a.length == b.length && a.infoKnown == b.infoKnown, "length");
        check(a.hasLoop == b.hasLoop && a.loopStart == b.loopStart && a.loopEnd == b.loopEnd,
              "loop");
        check(a.sampleRate == b.sampleRate && a.frameCount == b.frameCount, "rate");
    }
    check(formatPlaylistFile(second.entries, second.album, second.comment, second.relativePaths,
                             listPath) == written,
          "the bytes saved again");
    return 0;
}
