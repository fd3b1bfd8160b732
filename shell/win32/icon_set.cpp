#include "shell/win32/icon_set.h"

#include <algorithm>

#include "resources/resource_ids.h"
#include "shell/win32/dpi.h"

namespace quor6::win32 {

namespace {

struct ReleaseScreenDc {
    void operator()(HDC dc) const { ::ReleaseDC(nullptr, dc); }
};

HICON loadIcon(HINSTANCE instance, int id, int size) {
    return static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// The same picture as 32-bit pixels, every one opaque, or null where that fails. Wine's shell
// copies a tray icon's mask as if its rows had no padding, which garbles the bottom rows of a
// frame whose width is not a multiple of 16 (20, 24); an icon with an alpha channel is drawn
// without its mask, so it reaches every tray intact. Windows shows both alike.
HICON withOpaqueAlpha(HICON icon, int size) {
    ICONINFO info{};
    if (icon == nullptr || !::GetIconInfo(icon, &info))
        return nullptr;
    const ScopedBitmap colour(info.hbmColor);
    const ScopedBitmap mask(info.hbmMask);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = size;
    format.bmiHeader.biHeight = -size;  // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    const ScopedHandle<HDC, ReleaseScreenDc> screen(::GetDC(nullptr));
    void* bits = nullptr;
    const ScopedBitmap pixels(
        ::CreateDIBSection(screen.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!colour || !pixels ||
        ::GetDIBits(screen.get(), colour.get(), 0, static_cast<UINT>(size), bits, &format,
                    DIB_RGB_COLORS) != size)
        return nullptr;
    auto* const argb = static_cast<DWORD*>(bits);
    for (int i = 0; i < size * size; ++i)
        argb[i] |= 0xFF000000u;
    ICONINFO opaque{TRUE, 0, 0, mask.get(), pixels.get()};
    return ::CreateIconIndirect(&opaque);
}

}  // namespace

IconSet::IconSet(HINSTANCE instance)
    : instance_(instance),
      program_(loadIcon(instance, IDI_PROGRAM, 32)),
      programSmall_(loadIcon(instance, IDI_PROGRAM, ::GetSystemMetrics(SM_CXSMICON))),
      traySize_(trayFrameSize(traySmallIconSize())) {}

void IconSet::useTraySize(int smallIconSize) {
    traySize_ = trayFrameSize(smallIconSize);
}

HICON IconSet::holder(IconHolder which) const {
    const auto index = static_cast<std::size_t>(which);
    const auto frame = static_cast<std::size_t>(
        std::find(kIconFrameSizes.begin(), kIconFrameSizes.end(), traySize_) -
        kIconFrameSizes.begin());
    if (index >= holders_[0].size() || frame >= holders_.size())
        return nullptr;
    ScopedIcon& icon = holders_[frame][index];
    if (!icon) {
        icon.reset(loadIcon(instance_, IDI_ICON_SET_FIRST + static_cast<int>(index), traySize_));
        if (HICON opaque = withOpaqueAlpha(icon.get(), traySize_))
            icon.reset(opaque);
    }
    return icon.get();
}

}  // namespace quor6::win32
