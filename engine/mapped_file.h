// A read-only memory mapping of a whole file (at most 500 MiB of it).
#pragma once

#include <cstdint>

namespace tarnuvo {

class MappedFile {
public:
    static constexpr uint32_t kMaxView = 0x1F400000;

    MappedFile() = default;
    ~MappedFile() { release(); }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Maps the file; returns the number of bytes viewed, or -1. Releases any
    // mapping held before.
    int64_t map(const char* path);
    void release();

    const uint8_t* data() const { return view_; }
    // Bytes that may be read from data(): the file size, or the view limit.
    uint32_t size() const { return size_; }
    uint32_t fileSizeLow() const { return sizeLow_; }
    uint32_t fileSizeHigh() const { return sizeHigh_; }

private:
    const uint8_t* view_ = nullptr;
    uint32_t size_ = 0;
    uint32_t sizeLow_ = 0;
    uint32_t sizeHigh_ = 0;
#ifdef _WIN32
    void* file_ = reinterpret_cast<void*>(static_cast<intptr_t>(-1));
    void* mapping_ = nullptr;
#else
    int fd_ = -1;
#endif
};

}  // namespace tarnuvo
