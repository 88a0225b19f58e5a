#include "app/app_environment.h"

#include <cstring>

#include "app/directory_path.h"
#include "engine/text.h"

namespace tarnuvo {
namespace {

// Face names in code page 932: MS PGothic and MS Gothic.
#define TV_MS_PGOTHIC "\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e"
#define TV_MS_GOTHIC "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e"

}  // namespace

AppEnvironment::AppEnvironment() : AppEnvironment(EnvironmentPaths{}) {}

AppEnvironment::AppEnvironment(const EnvironmentPaths& paths) {
    if (paths.modulePath) copyText(modulePath_, kTextSize, paths.modulePath);
    osFlags = osVersionFlags();
    applyFontDefaults(osFlags);
    makeTempDir(paths.tempPath);
}

AppEnvironment::~AppEnvironment() {
    titleFont.reset();
    timeFont.reset();
    infoFont.reset();
    infoBoldFont.reset();
    fileFont.reset();
    listFont.reset();
    if (tempFile[0] != '\0') {
        DeleteFileA(tempFile);
        tempFile[0] = '\0';
    }
    // Fails, as wanted, while files of another instance are still inside.
    if (tempDir[0] != '\0') RemoveDirectoryA(tempDir);
}

void AppEnvironment::applyFontDefaults(uint32_t flags) {
    fontSpecs[FontUnusedSlot][0] = '\0';
    copyText(fontList, kTextSize, "MS UI Gothic,12,0");
    if (flags & Win2000) {
        copyText(fontTitle, kTextSize, "Tahoma,18,1");
        copyText(fontTime, kTextSize, "Tahoma,18,1");
        copyText(fontInfo, kTextSize, "Tahoma,14,-1");
        copyText(fontFile, kTextSize, "Tahoma,14,0");
    } else {
        copyText(fontTitle, kTextSize, TV_MS_PGOTHIC ",16,1");
        copyText(fontTime, kTextSize, TV_MS_GOTHIC ",16,1");
        copyText(fontInfo, kTextSize, TV_MS_GOTHIC ",12,-1");
        copyText(fontFile, kTextSize, TV_MS_PGOTHIC ",12,0");
    }
}

void AppEnvironment::makeTempDir(const char* tempPath) {
    tempDir[0] = '\0';
    char base[kTextSize + 1] = {};
    if (tempPath) {
        copyText(base, kTextSize, tempPath);
    } else {
        DWORD length = GetTempPathA(kTextSize, base);
        if (length == 0 || length >= kTextSize) base[0] = '\0';
    }
    // A folder name that does not fit whole would leave extraction pointed at
    // the system's temporary folder itself (or a stump of the name); the run
    // goes without archive extraction instead.
    if (base[0] == '\0' || !appendBackslash(base, sizeof base)) return;
    if (std::strlen(base) + std::strlen(kTempDirName) > kTextSize - 1) return;
    std::strcat(base, kTempDirName);
    copyText(tempDir, kTextSize, base);
    makeDirectoryPath(tempDir);
}

int AppEnvironment::tempFileFor(const char* memberName, char* out, size_t maxLength) const {
    if (maxLength == 0) return 0;
    out[0] = '\0';
    if (tempDir[0] == '\0') return 0;
    const char* slash = findLastSlash(memberName);
    const char* base = slash ? slash + 1 : memberName;
    size_t used = copyText(out, maxLength, tempDir);
    copyText(out + used, maxLength - used, base);
    return 1;
}

bool AppEnvironment::tempFileFor(const char* memberName, char (&out)[kTextSize]) {
    return tempFileFor(memberName, out, kTextSize) != 0;
}

void AppEnvironment::rememberTempFile(const char* path) {
    // Playing the same member again extracts over the remembered file; that
    // file is the one just opened and must stay.
    if (tempFile[0] != '\0' && lstrcmpiA(tempFile, path) != 0) DeleteFileA(tempFile);
    copyText(tempFile, kTextSize, path);
}

}  // namespace tarnuvo
