#include "shell/win32/icon_set.h"

#include "resources/resource_ids.h"

namespace quor6::win32 {

namespace {
HICON loadIcon(HINSTANCE instance, int id, int size) {
    return static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}
}  // namespace

IconSet::IconSet(HINSTANCE instance)
    : program_(loadIcon(instance, IDI_PROGRAM, 32)),
      programSmall_(loadIcon(instance, IDI_PROGRAM, ::GetSystemMetrics(SM_CXSMICON))) {
    for (int i = 0; i < kIconHolderCount; ++i) {
        holders_[static_cast<std::size_t>(i)].reset(loadIcon(instance, IDI_ICON_SET_FIRST + i, 32));
    }
}

}  // namespace quor6::win32
