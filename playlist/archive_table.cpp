#include "playlist/archive_table.h"

#include <cstring>

#include "engine/text.h"

namespace tarnuvo {

const ArchiverEntry kArchiverTable[kArchiverCount] = {
    {"7-zip32.dll", "SevenZip", "7z;zip;jar", "e -hide", "x", "-aoa -y", kAcceptsSelfExtracting},
    {"Unrar32.dll", "Unrar", "rar", "-e -q", "-x", "-y -o", kAcceptsSelfExtracting},
    {"Unlha32.dll", "Unlha", "lzh", "e -a1 -p -n -gm", "e -x1 -a1", "-y", kAcceptsSelfExtracting},
    {"Unzip32.dll", "UnZip", "zip", "-x -j --i -qq", "-x", "-o", kAcceptsSelfExtracting},
};

namespace {

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalsNoCase(const char* a, size_t aLen, const char* b) {
    size_t i = 0;
    for (; i < aLen && b[i] != '\0'; ++i) {
        if (upper(a[i]) != upper(b[i])) return false;
    }
    return i == aLen && b[i] == '\0';
}

// Appends text to out at *used; false when it does not fit.
bool append(char* out, size_t outSize, size_t* used, const char* text, size_t len) {
    if (len >= outSize - *used) return false;
    std::memcpy(out + *used, text, len);
    *used += len;
    out[*used] = '\0';
    return true;
}

bool append(char* out, size_t outSize, size_t* used, const char* text) {
    return append(out, outSize, used, text, std::strlen(text));
}

bool appendQuoted(char* out, size_t outSize, size_t* used, const char* text) {
    if (std::strchr(text, '"')) return false;
    return append(out, outSize, used, "\"") && append(out, outSize, used, text) &&
           append(out, outSize, used, "\"");
}

// "a" "b" "c": quoted items, single spaces between them, nothing else.
bool isQuotedList(const char* files) {
    const char* p = files;
    for (;;) {
        if (*p != '"') return false;
        const char* close = std::strchr(p + 1, '"');
        if (!close) return false;
        p = close + 1;
        if (*p == '\0') return true;
        if (*p != ' ') return false;
        ++p;
    }
}

// CON, NUL, COM1 and the like name devices in any folder, whatever follows
// the first dot.
bool isDeviceName(const char* base) {
    size_t stem = 0;
    while (base[stem] != '\0' && base[stem] != '.') ++stem;
    while (stem > 0 && base[stem - 1] == ' ') --stem;
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : kDevices) {
        if (equalsNoCase(base, stem, device)) return true;
    }
    if (stem == 4 && base[3] >= '0' && base[3] <= '9') {
        return equalsNoCase(base, 3, "COM") || equalsNoCase(base, 3, "LPT");
    }
    return false;
}

}  // namespace

const char* archiveExtension(const char* path) {
    const char* dot = findLastSeparator(path, '.');
    if (!dot || dot[1] == '\0') return nullptr;
    return dot + 1;
}

bool isSelfExtractingExtension(const char* extension) {
    return extension && equalsNoCase(extension, std::strlen(extension), "exe");
}

bool offersTo(const ArchiverEntry& entry, const char* extension) {
    if (!extension) return false;
    if (isSelfExtractingExtension(extension) && (entry.flags & kAcceptsSelfExtracting)) return true;
    const char* item = entry.extensions;
    for (;;) {
        const char* end = std::strchr(item, ';');
        const size_t len = end ? static_cast<size_t>(end - item) : std::strlen(item);
        if (len > 0 && equalsNoCase(item, len, extension)) return true;
        if (!end) return false;
        item = end + 1;
    }
}

bool buildExtractCommand(const ArchiverEntry& entry, const char* archivePath,
                         const char* destination, const char* files, int32_t flags, char* out,
                         size_t outSize) {
    if (outSize == 0) return false;
    out[0] = '\0';
    size_t used = 0;
    bool ok = append(out, outSize, &used,
                     (flags & kExtractFlat) ? entry.flatCommand : entry.pathCommand) &&
              append(out, outSize, &used, " ");
    if (ok && (flags & kExtractOverwrite)) {
        ok = append(out, outSize, &used, entry.overwriteSwitches) &&
             append(out, outSize, &used, " ");
    }
    ok = ok && appendQuoted(out, outSize, &used, archivePath) && append(out, outSize, &used, " ") &&
         appendQuoted(out, outSize, &used, destination) && append(out, outSize, &used, " ");
    if (ok && files && files[0] != '\0') {
        ok = files[0] == '"' ? isQuotedList(files) && append(out, outSize, &used, files)
                             : appendQuoted(out, outSize, &used, files);
    }
    if (!ok) out[0] = '\0';
    return ok;
}

const char* memberBaseName(const char* name) {
    const char* back = findLastSeparator(name, '\\');
    const char* base = back ? back + 1 : name;
    const char* slash = findLastSeparator(base, '/');
    return slash ? slash + 1 : base;
}

bool isSafeMemberName(const char* name) {
    if (!name || name[0] == '\0') return false;
    if (name[0] == '-' || name[0] == '@' || name[0] == '\\' || name[0] == '/') return false;
    const TextCodec& codec = systemCodec();
    const char* component = name;
    for (const char* p = name;; ++p) {
        const uint8_t c = static_cast<uint8_t>(*p);
        if (c != 0 && codec.isLeadByte(c)) {
            if (p[1] == '\0') return false;  // a lead byte without its trail
            ++p;
            continue;
        }
        if (c == 0 || c == '\\' || c == '/') {
            const size_t len = static_cast<size_t>(p - component);
            if (len == 2 && component[0] == '.' && component[1] == '.') return false;
            if (c == 0) break;
            component = p + 1;
            continue;
        }
        if (c < 0x20 || c == 0x7F || c == '"' || c == ':' || c == '*' || c == '?' || c == '<' ||
            c == '>' || c == '|') {
            return false;
        }
    }
    const char* base = memberBaseName(name);
    return base[0] != '\0' && std::strcmp(base, ".") != 0 && !isDeviceName(base);
}

bool isMusicMemberName(const char* name) {
    if (!name) return false;
    const char* extension = archiveExtension(memberBaseName(name));
    if (!extension) return false;
    static const char* const kMusic[] = {"wav", "ogg", "mp3", "flac", "opus"};
    for (const char* music : kMusic) {
        if (equalsNoCase(extension, std::strlen(extension), music)) return true;
    }
    return false;
}

}  // namespace tarnuvo
