// Owns a loaded DLL and frees it exactly once. Kept free of <windows.h>.
#pragma once

namespace tarnuvo {

class ModuleHandle {
public:
    ModuleHandle() = default;
    explicit ModuleHandle(void* module) : module_(module) {}
    ~ModuleHandle() { reset(); }
    ModuleHandle(const ModuleHandle&) = delete;
    ModuleHandle& operator=(const ModuleHandle&) = delete;
    ModuleHandle(ModuleHandle&& other) noexcept : module_(other.release()) {}
    ModuleHandle& operator=(ModuleHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    // Frees the held module, if any, then holds `module`.
    void reset(void* module = nullptr);
    void* release() {
        void* m = module_;
        module_ = nullptr;
        return m;
    }
    void* get() const { return module_; }
    explicit operator bool() const { return module_ != nullptr; }

private:
    void* module_ = nullptr;
};

}  // namespace tarnuvo
