#include "shell/win32/icon_set.h"

#include "core/tray_frame_size.h"
#include "resources/resource_ids.h"

namespace quor6::win32 {

namespace {
HICON loadIcon(HINSTANCE instance, int id, int size) {
    return static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}
}  // namespace

IconSet::IconSet(HINSTANCE instance)
    : instance_(instance),
      program_(loadIcon(instance, IDI_PROGRAM, 32)),
      programSmall_(loadIcon(instance, IDI_PROGRAM, ::GetSystemMetrics(SM_CXSMICON))),
      traySize_(trayFrameSize(::GetSystemMetrics(SM_CXSMICON))) {}

HICON IconSet::holder(IconHolder which) const {
    const auto index = static_cast<std::size_t>(which);
    if (index >= holders_.size())
        return nullptr;
    ScopedIcon& icon = holders_[index];
    if (!icon)
        icon.reset(loadIcon(instance_, IDI_ICON_SET_FIRST + static_cast<int>(index), traySize_));
    return icon.get();
}

}  // namespace quor6::win32
