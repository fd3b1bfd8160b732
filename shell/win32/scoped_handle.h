#pragma once

#include <windows.h>

#include <utility>

namespace quor6::win32 {

// Owns exactly one handle and releases it with `Close`. Move-only, so a handle can never be
// released twice.
template <typename Handle, typename Close>
class ScopedHandle {
  public:
    ScopedHandle() = default;
    explicit ScopedHandle(Handle handle) : handle_(handle) {}
    ~ScopedHandle() { reset(); }

    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, Handle{});
        }
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    void reset(Handle handle = Handle{}) {
        if (handle_ != Handle{})
            Close{}(handle_);
        handle_ = handle;
    }

  private:
    Handle handle_{};
};

struct CloseKernelHandle {
    void operator()(HANDLE h) const { ::CloseHandle(h); }
};
struct DestroyIconHandle {
    void operator()(HICON h) const { ::DestroyIcon(h); }
};
struct DeleteFontHandle {
    void operator()(HFONT h) const { ::DeleteObject(h); }
};
struct DeleteBitmapHandle {
    void operator()(HBITMAP h) const { ::DeleteObject(h); }
};
struct DestroyMenuHandle {
    void operator()(HMENU h) const { ::DestroyMenu(h); }
};

using ScopedKernelHandle = ScopedHandle<HANDLE, CloseKernelHandle>;
using ScopedIcon = ScopedHandle<HICON, DestroyIconHandle>;
using ScopedFont = ScopedHandle<HFONT, DeleteFontHandle>;
using ScopedMenu = ScopedHandle<HMENU, DestroyMenuHandle>;
using ScopedBitmap = ScopedHandle<HBITMAP, DeleteBitmapHandle>;

}  // namespace quor6::win32
