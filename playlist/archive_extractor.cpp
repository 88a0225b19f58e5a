#include "playlist/archive_extractor.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <new>

#include "engine/text.h"

namespace tarnuvo {

ArchiveExtractor::ArchiveExtractor() {
    std::memcpy(table_, kArchiverTable, sizeof table_);
}

ArchiveExtractor::~ArchiveExtractor() {
    dll_.unload();
}

int32_t ArchiveExtractor::selectArchiver(const char* path) {
    const char* extension = archiveExtension(path);
    if (!extension) return 0;
    dll_.unload();
    for (int32_t i = 0; i < kArchiverCount; ++i) {
        const ArchiverEntry& e = table_[i];
        if (!offersTo(e, extension)) continue;
        const bool chosen = dll_.load(e.dllName, e.prefix) && (dll_.version() & 0xFFFF) != 0 &&
                            dll_.checkArchive(path, kCheckArchiveMode);
        dll_.unload();
        if (chosen) {
            selected_ = static_cast<int8_t>(i);
            return 1;
        }
    }
    return 0;
}

bool ArchiveExtractor::loadSelected() {
    if (selected_ < 0 || selected_ >= kArchiverCount) return false;
    const ArchiverEntry& e = table_[selected_];
    return dll_.load(e.dllName, e.prefix);
}

void ArchiveExtractor::unloadSelected() {
    dll_.unload();
}

int32_t ArchiveExtractor::extract(WindowHandle /*owner*/, const char* archivePath,
                                  const char* destination, const char* files, int32_t flags,
                                  char* output, uint32_t outputSize) {
    if (output && outputSize > 0) output[0] = '\0';
    if (selected_ < 0 || selected_ >= kArchiverCount) return kCommandNotRun;
    char commandLine[kCommandLineSize];
    if (!buildExtractCommand(table_[selected_], archivePath, destination, files, flags, commandLine,
                             sizeof commandLine)) {
        return kCommandNotRun;
    }
    if (!loadSelected()) return kCommandNotRun;
    // The DLL writes into a buffer of its own, zero-filled so that what it
    // leaves is always terminated when copied.
    const uint32_t size = outputSize > 0 ? outputSize : 1;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[size]());
    int32_t result = kCommandNotRun;
    if (buffer) {
        result = dll_.command(nullptr, commandLine, buffer.get(), outputSize);
        if (output && outputSize > 0) copyText(output, outputSize, buffer.get(), outputSize - 1);
    }
    unloadSelected();
    return result;
}

bool resolveMember(const char* archivePath, const char* memberName, WindowHandle owner,
                   PlayerEnvironment* environment, char (&fileToOpen)[kTextSize]) {
    fileToOpen[0] = '\0';
    if (!environment) return false;
    const char* tempDir = environment->temporaryDirectory();
    if (!tempDir || tempDir[0] == '\0') return false;
    ArchiveExtractor extractor;
    if (!extractor.selectArchiver(archivePath)) return false;
    // The extracted file's name is the member's whole base name; one that
    // would be cut to fit could not be found again.
    if (!isSafeMemberName(memberName) ||
        std::strlen(tempDir) + std::strlen(memberBaseName(memberName)) >= kTextSize) {
        return true;
    }
    char target[kTextSize];
    if (!environment->tempFileFor(memberName, target)) return false;
    // A stale file of the same name must not be played when extraction fails.
    DeleteFileA(target);
    std::unique_ptr<char[]> output(new (std::nothrow) char[kResolveOutputSize]);
    if (output) {
        extractor.extract(owner, archivePath, tempDir, memberName, kResolveFlags, output.get(),
                          kResolveOutputSize);
    }
    copyText(fileToOpen, kTextSize, target);
    return true;
}

void installMemberResolver() {
    setMemberResolver(&resolveMember);
}

}  // namespace tarnuvo
