#include "playlist/playlist_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "engine/text.h"
#include "engine/units.h"
#include "playlist/profile_text.h"

namespace tarnuvo {
namespace {

const char* const kHeaderKeys[] = {"Ver", "Album", "Comment", "Path", "Track"};
enum HeaderKey { kVer, kAlbum, kComment, kPath, kTrack, kHeaderKeyCount };

const char* const kTrackKeys[] = {"File", "Title",     "Artist",          "Length",
                                  "Loop", "LoopStart", "LoopEnd",         "LoopLength",
                                  "Rate", "Frames",    "LoopStartFrames", "LoopEndFrames"};
enum TrackKey {
    kFile,
    kTitle,
    kArtist,
    kLength,
    kLoop,
    kLoopStart,
    kLoopEnd,
    kLoopLength,
    kRate,
    kFrames,
    kLoopStartFrames,
    kLoopEndFrames,
    kTrackKeyCount
};

// A track at any other rate keeps its exact frame counts in keys of their
// own; "Length" and the loop keys keep their 44,100 Hz meaning, so that an
// older reader still shows the right times. 44,100 Hz and unknown rates are
// written as they always were.
bool hasFrameKeys(uint32_t rate) {
    return rate >= kMinRate && rate <= kMaxRate && rate != kUnitRate;
}

uint32_t atMost32(uint64_t value) {
    return value > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(value);
}

// A loop point as its 44,100 Hz key holds it.
uint32_t listLoopPoint(uint32_t frames, uint32_t rate) {
    return atMost32(listFramesFromFrames(frames, rate));
}

// A frame key counts only while it agrees with its 44,100 Hz key: where an
// older program edited the entry, the 44,100 Hz value wins.
uint32_t loopPointFrames(const ProfileValue& key, uint32_t listFrames, uint32_t rate) {
    const uint32_t frames = profileInt(key, 0);
    if (listLoopPoint(frames, rate) == listFrames) return frames;
    return atMost32(framesFromListFrames(listFrames, rate));
}

// The same for the track's length: "Frames" counts while it gives "Length".
uint32_t trackFrames(const ProfileValue& key, uint32_t length, uint32_t rate) {
    const uint32_t frames = profileInt(key, 0);
    if (unitsFromFrames(frames, rate) == length) return frames;
    return atMost32(framesFromUnits(length, rate));
}

void trackSectionName(int32_t index, char (&name)[32]) {
    std::snprintf(name, sizeof name, "Track%02d", static_cast<int>(index));
}

// The list folder: listPath up to and including its last backslash, found
// without taking a trail byte for one. Empty when there is none.
std::string listFolder(const char* listPath) {
    const char* slash = listPath ? findLastSeparator(listPath, '\\') : nullptr;
    return slash ? std::string(listPath, static_cast<size_t>(slash - listPath + 1)) : std::string();
}

// A "File" value counts as absolute when its second character is ':'.
bool passesColonTest(const char* value) {
    if (value[0] == '\0') return false;
    const size_t second = systemCodec().isLeadByte(static_cast<uint8_t>(value[0])) ? 2 : 1;
    if (second == 2 && value[1] == '\0') return false;
    return value[second] == ':';
}

bool isMemberReference(const char* location) {
    return findLastSeparator(location, '|') != nullptr;
}

// What the reader makes of a relative value: one leading backslash dropped,
// the list folder in front, cut to 259 bytes on a character boundary.
void resolveRelative(const std::string& folder, const char* value, char (&path)[kTextSize],
                     char (&location)[kTextSize]) {
    const char* rest = value[0] == '\\' ? value + 1 : value;
    copyText(path, kTextSize, rest);
    std::string joined = folder;
    joined += path;
    copyText(location, kTextSize, joined.c_str());
}

// Equal without regard to ASCII case; double-byte characters compare exactly.
bool samePath(const char* a, const char* b) {
    const TextCodec& codec = systemCodec();
    size_t i = 0;
    for (;;) {
        const char x = a[i], y = b[i];
        if (x == '\0' || y == '\0') return x == y;
        if (codec.isLeadByte(static_cast<uint8_t>(x))) {
            if (x != y || a[i + 1] != b[i + 1]) return false;
            if (a[i + 1] == '\0') return true;
            i += 2;
            continue;
        }
        const char fx = x >= 'a' && x <= 'z' ? static_cast<char>(x - 'a' + 'A') : x;
        const char fy = y >= 'a' && y <= 'z' ? static_cast<char>(y - 'a' + 'A') : y;
        if (fx != fy) return false;
        ++i;
    }
}

TrackInfo readTrack(const ProfileText& ini, int32_t section, bool relative,
                    const std::string& folder) {
    ProfileValue v[kTrackKeyCount];
    ini.lookup(section, kTrackKeys, kTrackKeyCount, v);
    TrackInfo t;
    profileText(v[kFile], t.path, kTextSize);
    std::memcpy(t.location, t.path, kTextSize);
    if (relative && t.path[0] != '\0' && !passesColonTest(t.path)) {
        char value[kTextSize];
        std::memcpy(value, t.path, kTextSize);
        resolveRelative(folder, value, t.path, t.location);
    }
    profileText(v[kTitle], t.title, kTextSize);
    profileText(v[kArtist], t.artist, kTextSize);
    t.length = profileInt(v[kLength], 0);
    const uint32_t start = profileInt(v[kLoopStart], 0);
    uint32_t end = profileInt(v[kLoopEnd], 0);
    const uint32_t span = profileInt(v[kLoopLength], 0);
    if (span != 0) end = start + span;  // unsigned 32-bit, as stored
    uint32_t first = start, last = end;
    const uint32_t rate = profileInt(v[kRate], 0);
    if (hasFrameKeys(rate)) {
        t.sampleRate = rate;
        t.frameCount = trackFrames(v[kFrames], t.length, rate);
        // The loop is tested in frames: two exact points may share one
        // 44,100 Hz value.
        first = loopPointFrames(v[kLoopStartFrames], start, rate);
        last = loopPointFrames(v[kLoopEndFrames], end, rate);
    }
    if (first < last) {
        t.hasLoop = profileInt(v[kLoop], 0) != 0;
        t.loopStart = first;
        t.loopEnd = last;
    }
    // A stored length of 0 means "not known": the file is probed when played.
    t.infoKnown = t.length != 0;
    return t;
}

int32_t parse(std::string_view bytes, const char* listPath, PlaylistFileContents& out) {
    const std::string folder = listFolder(listPath);
    if (folder.empty()) return 0;
    const ProfileText ini{std::string(bytes)};
    ProfileValue h[kHeaderKeyCount];
    ini.lookup(ini.findSection(kListSection), kHeaderKeys, kHeaderKeyCount, h);
    if (profileInt(h[kVer], 0) != 1) return 0;
    const auto declared = static_cast<int32_t>(profileInt(h[kTrack], 0));
    if (declared < 1) return 0;
    // Only track sections that exist below the count become entries, so a
    // damaged count or one far section cannot ask for blank records.
    std::vector<int32_t> indices;
    for (int32_t s = 0; s < ini.sectionCount(); ++s) {
        const int32_t index = trackSectionIndex(ini.sectionName(s));
        if (index >= 0 && index < declared) indices.push_back(index);
    }
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    if (indices.size() > static_cast<size_t>(kMaxListEntries)) indices.resize(kMaxListEntries);
    if (indices.empty()) return 0;

    profileText(h[kAlbum], out.album, kTextSize);
    profileText(h[kComment], out.comment, kTextSize);
    out.relativePaths = profileInt(h[kPath], 0) != 0;
    out.entries.reserve(indices.size());
    char name[32];
    for (int32_t i : indices) {
        trackSectionName(i, name);
        out.entries.push_back(readTrack(ini, ini.findSection(name), out.relativePaths, folder));
    }
    return 1;
}

}  // namespace

int32_t trackSectionIndex(std::string_view name) {
    constexpr std::string_view kPrefix = "track";
    if (name.size() < kPrefix.size() + 2 || name.size() > kPrefix.size() + 10) return -1;
    for (size_t i = 0; i < kPrefix.size(); ++i) {
        char c = name[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kPrefix[i]) return -1;
    }
    const std::string_view digits = name.substr(kPrefix.size());
    // "%02d": two digits at least, a leading zero only in a two-digit number.
    if (digits.size() > 2 && digits[0] == '0') return -1;
    int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    // The count is one more than the index and must fit.
    return value < INT32_MAX ? static_cast<int32_t>(value) : -1;
}

int32_t playlistFileVersion(std::string_view bytes) {
    try {
        const ProfileText ini{std::string(bytes)};
        return static_cast<int32_t>(
            profileInt(ini.lookup(ini.findSection(kListSection), "Ver"), 0));
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

int32_t parsePlaylistFile(std::string_view bytes, const char* listPath, PlaylistFileContents& out) {
    out = PlaylistFileContents();
    try {
        if (parse(bytes, listPath, out)) return 1;
    } catch (const std::bad_alloc&) {
    }
    out = PlaylistFileContents();
    return 0;
}

std::string formatPlaylistFile(const std::vector<TrackInfo>& entries, const char* album,
                               const char* comment, int32_t relativePaths, const char* listPath) {
    const std::string folder = listFolder(listPath);
    // Each entry keeps the form of name it came with; a relative one is
    // written only where it still leads to its file from this folder.
    std::vector<const char*> file(entries.size());
    bool relative = relativePaths != 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        const TrackInfo& t = entries[i];
        file[i] = t.location;
        if (!relative || folder.empty() || isMemberReference(t.location) || t.path[0] == '\0' ||
            passesColonTest(t.path))
            continue;
        char path[kTextSize], location[kTextSize];
        resolveRelative(folder, t.path, path, location);
        if (samePath(location, t.location)) file[i] = t.path;
    }
    // A written location that the reader would take for a relative name
    // leaves only the absolute form for the whole list.
    if (relative) {
        for (size_t i = 0; i < entries.size(); ++i) {
            const char* location = entries[i].location;
            if (file[i] == location && location[0] != '\0' && !passesColonTest(location)) {
                relative = false;
                break;
            }
        }
        if (!relative)
            for (size_t i = 0; i < entries.size(); ++i) file[i] = entries[i].location;
    }

    ProfileWriter w;
    w.reserve(256 + entries.size() * 160);
    w.section(kListSection);
    w.number("Ver", 1);
    w.text("Album", album);
    w.text("Comment", comment);
    w.signedNumber("Path", relative ? 1 : 0);
    w.signedNumber("Track", static_cast<int32_t>(entries.size()));
    char name[32];
    for (size_t i = 0; i < entries.size(); ++i) {
        const TrackInfo& t = entries[i];
        trackSectionName(static_cast<int32_t>(i), name);
        w.section(name);
        w.text("File", file[i]);
        w.text("Title", t.title);
        w.text("Artist", t.artist);
        w.number("Length", t.length);
        w.signedNumber("Loop", t.hasLoop ? 1 : 0);
        if (!hasFrameKeys(t.sampleRate)) {
            w.number("LoopStart", t.loopStart);
            w.number("LoopEnd", t.loopEnd);
            continue;
        }
        w.number("LoopStart", listLoopPoint(t.loopStart, t.sampleRate));
        w.number("LoopEnd", listLoopPoint(t.loopEnd, t.sampleRate));
        w.number("Rate", t.sampleRate);
        w.number("Frames", t.frameCount);
        w.number("LoopStartFrames", t.loopStart);
        w.number("LoopEndFrames", t.loopEnd);
    }
    return w.take();
}

}  // namespace tarnuvo
