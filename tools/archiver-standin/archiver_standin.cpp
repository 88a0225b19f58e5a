// A stand-in for the archiver DLLs, backed by libarchive. One DLL exports the
// interface under all four prefixes; the file name it is loaded under picks
// the archive formats it reads, as the real DLL of that name would.
#include <windows.h>

#include <archive.h>
#include <archive_entry.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <set>
#include <string>

#include "call_log.h"
#include "command_line.h"
#include "exports.h"

namespace {

using tarnuvo_tools::logCall;

// Command results; 0 is success.
constexpr int kOk = 0;
constexpr int kBadCommand = 2;
constexpr int kNoArchive = 3;
constexpr int kWriteFailed = 4;
constexpr int kRefusedName = 5;
constexpr int kNotFound = 6;
constexpr int kNotOverwritten = 7;

// The per-member record: the name at byte 26, 513 bytes, 558 in all.
constexpr size_t kRecordSize = 558;
constexpr size_t kNameOffset = 26;
constexpr size_t kNameSize = 513;

HMODULE g_module = nullptr;
std::atomic<int> g_busy{0};

struct BusyScope {
    BusyScope() { ++g_busy; }
    ~BusyScope() { --g_busy; }
};

// The formats of the DLL this copy stands in for.
enum Formats : unsigned {
    kFormatZip = 1,
    kFormat7z = 2,
    kFormatRar = 4,
    kFormatLha = 8,
    kFormatAll = 15
};

unsigned formatsForSelf() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(g_module, path, MAX_PATH);
    const char* base = path;
    for (const char* p = path; *p; ++p) {
        if (*p == '\\' || *p == '/') base = p + 1;
    }
    if (lstrcmpiA(base, "7-zip32.dll") == 0) return kFormatZip | kFormat7z;
    if (lstrcmpiA(base, "Unrar32.dll") == 0) return kFormatRar;
    if (lstrcmpiA(base, "Unlha32.dll") == 0) return kFormatLha;
    if (lstrcmpiA(base, "Unzip32.dll") == 0) return kFormatZip;
    return kFormatAll;
}

std::wstring toWide(const char* ansi) {
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
    if (n <= 0) return std::wstring();
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi, -1, &w[0], n);
    w.resize(static_cast<size_t>(n - 1));
    return w;
}

std::string toAnsi(const wchar_t* wide) {
    const int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::string a(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, -1, &a[0], n, nullptr, nullptr);
    a.resize(static_cast<size_t>(n - 1));
    return a;
}

// An open libarchive reader, freed exactly once.
class Reader {
public:
    Reader() = default;
    ~Reader() { close(); }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    bool open(const char* path) {
        close();
        const unsigned formats = formatsForSelf();
        a_ = archive_read_new();
        if (!a_) return false;
        if (formats & kFormatZip) archive_read_support_format_zip(a_);
        if (formats & kFormat7z) archive_read_support_format_7zip(a_);
        if (formats & kFormatRar) {
            archive_read_support_format_rar(a_);
            archive_read_support_format_rar5(a_);
        }
        if (formats & kFormatLha) archive_read_support_format_lha(a_);
        archive_read_support_filter_all(a_);
        const std::wstring wide = toWide(path);
        if (wide.empty() || archive_read_open_filename_w(a_, wide.c_str(), 16384) != ARCHIVE_OK) {
            close();
            return false;
        }
        return true;
    }
    void close() {
        if (a_) archive_read_free(a_);
        a_ = nullptr;
    }
    // The next regular file; false at the end or on damage.
    bool next(archive_entry** entry, std::string& name) {
        while (a_) {
            const int r = archive_read_next_header(a_, entry);
            if (r != ARCHIVE_OK && r != ARCHIVE_WARN) return false;
            if (archive_entry_filetype(*entry) != AE_IFREG) continue;
            const wchar_t* wide = archive_entry_pathname_w(*entry);
            const char* narrow = archive_entry_pathname(*entry);
            name = wide ? toAnsi(wide) : (narrow ? narrow : "");
            if (!name.empty()) return true;
        }
        return false;
    }
    archive* get() const { return a_; }

private:
    archive* a_ = nullptr;
};

char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

size_t charLength(const char* p) {
    return IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1] ? 2 : 1;
}

// Wildcard match with '*' and '?', ignoring the case of single-byte letters.
bool matches(const char* pattern, const char* text) {
    if (*pattern == '\0') return *text == '\0';
    if (*pattern == '*') {
        if (matches(pattern + 1, text)) return true;
        return *text != '\0' && matches(pattern, text + charLength(text));
    }
    if (*text == '\0') return false;
    const size_t p = charLength(pattern), t = charLength(text);
    if (*pattern == '?') return matches(pattern + 1, text + t);
    if (p != t) return false;
    if (p == 2 ? std::memcmp(pattern, text, 2) != 0 : upperAscii(*pattern) != upperAscii(*text)) {
        return false;
    }
    return matches(pattern + p, text + t);
}

// '/' and '\' name the same separator; trail bytes are left alone.
std::string normalized(const std::string& name) {
    std::string out = name;
    for (size_t i = 0; i < out.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(out[i]))) {
            ++i;
        } else if (out[i] == '/') {
            out[i] = '\\';
        }
    }
    return out;
}

std::string baseName(const std::string& name) {
    const std::string n = normalized(name);
    size_t start = 0;
    for (size_t i = 0; i < n.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(n[i]))) {
            ++i;
        } else if (n[i] == '\\') {
            start = i + 1;
        }
    }
    return n.substr(start);
}

// A relative name that stays below its folder.
bool isContained(const std::string& relative) {
    if (relative.empty() || relative[0] == '\\' || relative.find(':') != std::string::npos) {
        return false;
    }
    size_t start = 0;
    for (size_t i = 0; i <= relative.size(); ++i) {
        if (i < relative.size() && IsDBCSLeadByte(static_cast<BYTE>(relative[i]))) {
            ++i;
            continue;
        }
        if (i == relative.size() || relative[i] == '\\') {
            if (relative.compare(start, i - start, "..") == 0 && i - start == 2) return false;
            start = i + 1;
        }
    }
    return relative.back() != '\\';
}

// The full form of path; empty when it cannot be had.
std::string fullPath(const std::string& path) {
    char out[MAX_PATH];
    const DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, out, nullptr);
    return n == 0 || n >= MAX_PATH ? std::string() : std::string(out, n);
}

bool isInside(const std::string& folder, const std::string& file) {
    std::string root = fullPath(folder);
    const std::string full = fullPath(file);
    if (root.empty() || full.empty()) return false;
    if (root.back() != '\\') root += '\\';
    return full.size() > root.size() &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, root.c_str(),
                          static_cast<int>(root.size()), full.c_str(),
                          static_cast<int>(root.size())) == CSTR_EQUAL;
}

void createFolders(const std::string& destination, const std::string& relative) {
    for (size_t i = 0; i < relative.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(relative[i]))) {
            ++i;
        } else if (relative[i] == '\\') {
            CreateDirectoryA((destination + relative.substr(0, i)).c_str(), nullptr);
        }
    }
}

int writeEntry(archive* a, const std::string& path, bool overwrite) {
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, overwrite ? CREATE_ALWAYS : CREATE_NEW,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_FILE_EXISTS ? kNotOverwritten : kWriteFailed;
    }
    int result = kOk;
    char buffer[16384];
    for (;;) {
        const la_ssize_t n = archive_read_data(a, buffer, sizeof buffer);
        if (n == 0) break;
        DWORD written = 0;
        if (n < 0 || !WriteFile(file, buffer, static_cast<DWORD>(n), &written, nullptr) ||
            written != static_cast<DWORD>(n)) {
            result = kWriteFailed;
            break;
        }
    }
    CloseHandle(file);
    if (result != kOk) DeleteFileA(path.c_str());
    return result;
}

void report(char* output, DWORD size, DWORD& used, const std::string& line) {
    if (!output || size == 0) return;
    for (char c : line + "\r\n") {
        if (used + 1 >= size) break;
        output[used++] = c;
    }
    output[used] = '\0';
}

int runExtract(const tarnuvo_tools::ExtractRequest& request, char* output, DWORD size) {
    DWORD used = 0;
    if (output && size > 0) output[0] = '\0';
    const DWORD attributes = GetFileAttributesA(request.destination.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        report(output, size, used, "no destination folder");
        return kBadCommand;
    }
    Reader reader;
    if (!reader.open(request.archive.c_str())) return kNoArchive;
    std::set<std::string> wanted;
    for (const std::string& m : request.members) wanted.insert(normalized(m));
    std::set<std::string> found;
    int result = kOk;
    archive_entry* entry = nullptr;
    std::string name;
    while (reader.next(&entry, name)) {
        const std::string key = normalized(name);
        if (!wanted.empty() && !wanted.count(key)) continue;
        found.insert(key);
        const std::string relative = request.flat ? baseName(name) : key;
        const std::string target = request.destination + relative;
        if (!isContained(relative) || !isInside(request.destination, target)) {
            report(output, size, used, "refused: " + name);
            result = kRefusedName;
            continue;
        }
        if (!request.flat) createFolders(request.destination, relative);
        const int r = writeEntry(reader.get(), target, request.overwrite);
        report(output, size, used, (r == kOk ? "extracted: " : "failed: ") + name);
        if (r != kOk) result = r;
    }
    if (result == kOk && found.size() < wanted.size()) result = kNotFound;
    if (result == kOk && found.empty()) result = kNotFound;
    return result;
}

// One OpenArchive: the archive and where FindFirst/FindNext stand.
struct Listing {
    std::string path;
    std::string pattern;
    Reader reader;
};

std::mutex g_listingsLock;
std::set<Listing*> g_listings;

Listing* findListing(HANDLE h) {
    std::lock_guard<std::mutex> lock(g_listingsLock);
    auto it = g_listings.find(static_cast<Listing*>(h));
    return it == g_listings.end() ? nullptr : *it;
}

int fillNext(Listing& listing, void* record) {
    archive_entry* entry = nullptr;
    std::string name;
    while (listing.reader.next(&entry, name)) {
        if (name.size() >= kNameSize || !matches(listing.pattern.c_str(), name.c_str())) continue;
        auto* bytes = static_cast<unsigned char*>(record);
        std::memset(bytes, 0, kRecordSize);
        std::memcpy(bytes + kNameOffset, name.c_str(), name.size() + 1);
        return 0;
    }
    return -1;
}

}  // namespace

// The functions behind the exports.
int archiverCommand(int dialect, HWND, LPCSTR commandLine, LPSTR output, DWORD size) {
    BusyScope busy;
    logCall("command", commandLine);
    tarnuvo_tools::ExtractRequest request;
    if (!commandLine || !tarnuvo_tools::parseExtractCommand(dialect, commandLine, request)) {
        if (output && size > 0) output[0] = '\0';
        return kBadCommand;
    }
    return runExtract(request, output, size);
}

DWORD archiverVersion() {
    return 100;
}

BOOL archiverQueryFunction(int number) {
    switch (number) {
        case 8:
        case 16:
        case 23:
        case 24:
        case 25:
        case 26:
            return TRUE;
        default:
            return FALSE;
    }
}

BOOL archiverRunning() {
    return g_busy.load() > 0;
}

BOOL archiverCheck(int, LPCSTR path, int) {
    BusyScope busy;
    logCall("CheckArchive", path);
    Reader reader;
    archive_entry* entry = nullptr;
    if (!path || !reader.open(path)) return FALSE;
    const int r = archive_read_next_header(reader.get(), &entry);
    return r == ARCHIVE_OK || r == ARCHIVE_WARN;
}

HANDLE archiverOpen(int, HWND, LPCSTR path, DWORD) {
    logCall("OpenArchive", path);
    if (!path) return nullptr;
    auto* listing = new Listing;
    listing->path = path;
    if (!listing->reader.open(path)) {
        delete listing;
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(g_listingsLock);
    g_listings.insert(listing);
    return listing;
}

int archiverClose(HANDLE h) {
    Listing* listing = findListing(h);
    if (!listing) return -1;
    {
        std::lock_guard<std::mutex> lock(g_listingsLock);
        g_listings.erase(listing);
    }
    delete listing;
    return 0;
}

int archiverFindFirst(HANDLE h, LPCSTR wildcard, void* record) {
    Listing* listing = findListing(h);
    if (!listing || !record) return -1;
    listing->pattern = wildcard ? wildcard : "*";
    if (!listing->reader.open(listing->path.c_str())) return -1;
    return fillNext(*listing, record);
}

int archiverFindNext(HANDLE h, void* record) {
    Listing* listing = findListing(h);
    if (!listing || !record) return -1;
    return fillNext(*listing, record);
}

ARCHIVER_FOR_EACH_PREFIX(ARCHIVER_COMMAND_EXPORT)
#define ARCHIVER_REST(P, D) \
    ARCHIVER_VERSION_EXPORT(P) ARCHIVER_QUERY_EXPORT(P) ARCHIVER_LISTING_EXPORTS(P, D)
ARCHIVER_FOR_EACH_PREFIX(ARCHIVER_REST)

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        tarnuvo_tools::setLogModule(instance);
        logCall("load");
    } else if (reason == DLL_PROCESS_DETACH) {
        logCall("unload");
    }
    return TRUE;
}
