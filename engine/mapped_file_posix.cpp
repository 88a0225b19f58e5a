#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/mapped_file.h"

namespace tarnuvo {

int64_t MappedFile::map(const char* path) {
    release();
    fd_ = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return -1;
    struct stat st {};
    if (fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        release();
        return -1;
    }
    const uint64_t bytes = static_cast<uint64_t>(st.st_size);
    sizeLow_ = static_cast<uint32_t>(bytes);
    sizeHigh_ = static_cast<uint32_t>(bytes >> 32);
    const uint32_t viewBytes = bytes <= kMaxView ? static_cast<uint32_t>(bytes) : kMaxView;
    if (viewBytes == 0) {
        // Windows cannot map an empty file either.
        release();
        return -1;
    }
    void* p = mmap(nullptr, viewBytes, PROT_READ, MAP_PRIVATE, fd_, 0);
    if (p == MAP_FAILED) {
        release();
        return -1;
    }
    view_ = static_cast<const uint8_t*>(p);
    size_ = viewBytes;
    return size_;
}

void MappedFile::release() {
    if (view_ && size_ > 0) munmap(const_cast<uint8_t*>(view_), size_);
    if (fd_ >= 0) ::close(fd_);
    view_ = nullptr;
    fd_ = -1;
    size_ = sizeLow_ = sizeHigh_ = 0;
}

}  // namespace tarnuvo
