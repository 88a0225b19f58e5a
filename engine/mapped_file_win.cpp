#include <windows.h>

#include "engine/mapped_file.h"

namespace tarnuvo {

int64_t MappedFile::map(const char* path) {
    release();
    file_ = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, 0, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) return -1;
    DWORD high = 0;
    DWORD low = GetFileSize(file_, &high);
    sizeLow_ = low;
    sizeHigh_ = high;
    mapping_ = CreateFileMappingA(file_, nullptr, PAGE_READONLY, high, low, nullptr);
    if (!mapping_) {
        release();
        return -1;
    }
    const uint32_t viewBytes = (high == 0 && low <= kMaxView) ? low : kMaxView;
    view_ = static_cast<const uint8_t*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, viewBytes));
    if (!view_) {
        release();
        return -1;
    }
    size_ = viewBytes;
    return size_;
}

void MappedFile::release() {
    if (view_) UnmapViewOfFile(view_);
    if (mapping_) CloseHandle(mapping_);
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    view_ = nullptr;
    mapping_ = nullptr;
    file_ = INVALID_HANDLE_VALUE;
    size_ = sizeLow_ = sizeHigh_ = 0;
}

}  // namespace tarnuvo
