// Saving and reading list files of 100, 1,000 and 10,000 entries two ways:
// through the platform's profile functions, one call per key (each write
// rewrites the whole file), and through our one-pass writer and reader.
//
//   list_file_bench [--profile-up-to N] [folder]
//
// The profile route grows with the square of the list and takes many minutes
// at 10,000 entries, so by default it runs only up to 1,000 entries.
//
// "read and shown" is the whole way a list reaches the user: for our route
// the real loader into a visible list view, which gets the rows in batches
// with redrawing suspended; for the old one the profile reads and one row
// per insert. It needs an X display under Wine.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/text.h"
#include "bench/bench_list_view.h"
#include "engine/player_environment.h"
#include "playlist/playlist.h"
#include "playlist/playlist_file.h"
#include "playlist/playlist_loader.h"

namespace {

using namespace tarnuvo;

double now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string ansi(const char* utf8) {
    char out[512];
    systemCodec().fromUtf8(utf8, out, sizeof out);
    return out;
}

std::vector<TrackInfo> makeEntries(int n) {
    const std::string folder = ansi(u8"C:\\音楽\\アルバム\\");
    const std::string title = ansi(u8"交響曲 第");
    const std::string artist = ansi(u8"管弦楽団");
    std::vector<TrackInfo> entries(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        TrackInfo& t = entries[static_cast<size_t>(i)];
        std::snprintf(t.path, kTextSize, "%s%05d.ogg", folder.c_str(), i);
        std::snprintf(t.location, kTextSize, "%s", t.path);
        std::snprintf(t.title, kTextSize, "%s%d%s", title.c_str(), i, ansi(u8"番").c_str());
        std::snprintf(t.artist, kTextSize, "%s", artist.c_str());
        t.length = 176400u * static_cast<uint32_t>(60 + i % 240);
        t.hasLoop = i % 2;
        t.loopStart = static_cast<uint32_t>(i * 10);
        t.loopEnd = static_cast<uint32_t>(i * 10 + 441000);
        t.infoKnown = 1;
    }
    return entries;
}

void writeNumber(const char* section, const char* key, unsigned long value, const char* path,
                 bool isSigned) {
    char text[16];
    if (isSigned)
        std::snprintf(text, sizeof text, "%ld", static_cast<long>(value));
    else
        std::snprintf(text, sizeof text, "%lu", value);
    WritePrivateProfileStringA(section, key, text, path);
}

// The old route: the file truncated, then one profile write per key.
void saveThroughProfile(const char* path, const std::vector<TrackInfo>& entries) {
    HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
    WritePrivateProfileStringA(kListSection, "Ver", "1", path);
    WritePrivateProfileStringA(kListSection, "Album", "", path);
    WritePrivateProfileStringA(kListSection, "Comment", "", path);
    WritePrivateProfileStringA(kListSection, "Path", "0", path);
    writeNumber(kListSection, "Track", static_cast<unsigned long>(entries.size()), path, true);
    char section[32];
    for (size_t i = 0; i < entries.size(); ++i) {
        const TrackInfo& t = entries[i];
        std::snprintf(section, sizeof section, "Track%02zu", i);
        WritePrivateProfileStringA(section, "File", t.location, path);
        WritePrivateProfileStringA(section, "Title", t.title, path);
        WritePrivateProfileStringA(section, "Artist", t.artist, path);
        writeNumber(section, "Length", t.length, path, false);
        writeNumber(section, "Loop", static_cast<unsigned long>(t.hasLoop), path, true);
        writeNumber(section, "LoopStart", t.loopStart, path, false);
        writeNumber(section, "LoopEnd", t.loopEnd, path, false);
    }
}

// The old route of reading: one profile read per key.
size_t readThroughProfile(const char* path, std::vector<TrackInfo>& out) {
    out.clear();
    if (GetPrivateProfileIntA(kListSection, "Ver", 0, path) != 1) return 0;
    const int count = static_cast<int>(GetPrivateProfileIntA(kListSection, "Track", 0, path));
    char album[kTextSize];
    GetPrivateProfileStringA(kListSection, "Album", "", album, kTextSize, path);
    GetPrivateProfileStringA(kListSection, "Comment", "", album, kTextSize, path);
    GetPrivateProfileIntA(kListSection, "Path", 0, path);
    char section[32];
    for (int i = 0; i < count; ++i) {
        TrackInfo t;
        std::snprintf(section, sizeof section, "Track%02d", i);
        GetPrivateProfileStringA(section, "File", "", t.location, kTextSize, path);
        GetPrivateProfileStringA(section, "Title", "", t.title, kTextSize, path);
        GetPrivateProfileStringA(section, "Artist", "", t.artist, kTextSize, path);
        t.length = GetPrivateProfileIntA(section, "Length", 0, path);
        t.loopStart = GetPrivateProfileIntA(section, "LoopStart", 0, path);
        t.loopEnd = GetPrivateProfileIntA(section, "LoopEnd", 0, path);
        GetPrivateProfileIntA(section, "LoopLength", 0, path);
        t.hasLoop = static_cast<int32_t>(GetPrivateProfileIntA(section, "Loop", 0, path));
        out.push_back(t);
    }
    return out.size();
}

// Seconds until the list file's rows are all in a visible view and painted,
// through the loader as the program loads a list.
double shownThroughLoader(const std::string& path, size_t expected) {
    bench::View view;
    test::ListViewHost host(view.list, true);
    Playlist list(host);
    PlayerEnvironment environment;
    PlaylistLoader loader(list, host, environment);
    loader.setWindow(view.window.get());
    bench::serveMessages();
    const double t0 = now();
    loader.startLoading({path}, 1);
    while (loader.busy()) {
        bench::serveMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    loader.collect();
    UpdateWindow(view.window.get());
    bench::serveMessages();
    GdiFlush();
    const double t = now() - t0;
    if (static_cast<size_t>(list.count()) != expected) std::printf("  loader: rows missing\n");
    return t;
}

// The same through the profile functions and one row per insert.
double shownThroughProfile(const std::string& path, size_t expected) {
    bench::View view;
    test::ListViewHost host(view.list, false);
    Playlist list(host);
    bench::serveMessages();
    const double t0 = now();
    std::vector<TrackInfo> entries;
    readThroughProfile(path.c_str(), entries);
    for (const TrackInfo& t : entries) {
        list.appendEntries(&t, 1);
        bench::serveMessages();
    }
    UpdateWindow(view.window.get());
    GdiFlush();
    const double t = now() - t0;
    if (static_cast<size_t>(list.count()) != expected) std::printf("  profile: rows missing\n");
    return t;
}

bool sameEntries(const std::vector<TrackInfo>& a, const std::vector<TrackInfo>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::strcmp(a[i].location, b[i].location) || std::strcmp(a[i].title, b[i].title) ||
            std::strcmp(a[i].artist, b[i].artist) || a[i].length != b[i].length ||
            a[i].loopStart != b[i].loopStart || a[i].loopEnd != b[i].loopEnd ||
            a[i].hasLoop != b[i].hasLoop)
            return false;
    }
    return true;
}

void report(const char* route, int n, double save, double read) {
    std::printf("%-8s %6d entries  save %8.3f s  read %8.3f s  (%7.2f + %7.2f us/entry)\n", route,
                n, save, read, save * 1e6 / n, read * 1e6 / n);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    int profileUpTo = 1000;
    std::string folder;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--profile-up-to") == 0 && i + 1 < argc)
            profileUpTo = std::atoi(argv[++i]);
        else
            folder = argv[i];
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    if (folder.empty()) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = temp;
    }
    if (folder.back() != '\\') folder += '\\';
    std::printf("code page %u; profile route up to %d entries\n", GetACP(), profileUpTo);
    int failures = 0;
    for (int n : {100, 1000, 10000}) {
        const std::vector<TrackInfo> entries = makeEntries(n);
        const std::string ours = folder + "bench-ours-" + std::to_string(n) + ".pll";
        double t0 = now();
        const int32_t saved = writePlaylistFile(ours.c_str(), entries, "", "", 0);
        const double save = now() - t0;
        PlaylistFileContents read;
        t0 = now();
        const int32_t loaded = readPlaylistFile(ours.c_str(), read);
        const double load = now() - t0;
        report("one-pass", n, save, load);
        std::printf("one-pass %6d entries  read and shown %8.3f s\n", n,
                    shownThroughLoader(ours, entries.size()));
        if (!saved || !loaded || !sameEntries(entries, read.entries)) {
            std::printf("  one-pass round trip FAILED\n");
            ++failures;
        }
        DeleteFileA(ours.c_str());

        if (n > profileUpTo) {
            std::printf("profile  %6d entries  skipped (--profile-up-to %d)\n", n, profileUpTo);
            continue;
        }
        const std::string old = folder + "bench-profile-" + std::to_string(n) + ".pll";
        t0 = now();
        saveThroughProfile(old.c_str(), entries);
        const double oldSave = now() - t0;
        std::vector<TrackInfo> back;
        t0 = now();
        readThroughProfile(old.c_str(), back);
        const double oldLoad = now() - t0;
        report("profile", n, oldSave, oldLoad);
        std::printf("profile  %6d entries  read and shown %8.3f s\n", n,
                    shownThroughProfile(old, entries.size()));
        if (!sameEntries(entries, back)) {
            std::printf("  profile round trip FAILED\n");
            ++failures;
        }
        DeleteFileA(old.c_str());
    }
    return failures ? 1 : 0;
}
