// Commands that act on the program as the shell or the window system would.
#include "probe.h"  // windows.h, which shellapi.h needs first

#include <shellapi.h>

#include <iostream>

namespace quor6::probe {

namespace {

// The shell's tray callback: WM_MOUSEMOVE to the slot's host window, the slot's id in wParam
// and the mouse message in lParam.
int postCallback(HWND main, const Arguments& callback) {
    const auto slot = parseNumber(callback[0]);
    const auto message = parseNumber(callback[1]);
    const auto wParam = callback.size() == 3 ? parseNumber(callback[2]) : slot;
    if (!slot || *slot < 1 || *slot > kSlotCount || !message || !wParam)
        return kUsage;
    return PostMessageW(hostWindow(main, static_cast<int>(*slot)), WM_MOUSEMOVE,
                        static_cast<WPARAM>(*wParam), static_cast<LPARAM>(*message))
               ? kOk
               : kCallFailed;
}

}  // namespace

// post <slot> <message> [wparam], or post - to post every "<slot> <message> <wparam>" line of
// the standard input (a flood of them in one go).
int runPost(const Arguments& args) {
    const HWND main = findMainWindow();
    if (args.size() == 1 && args[0] == "-") {
        long long posted = 0;
        for (Arguments callback(3); main && std::cin >> callback[0] >> callback[1] >> callback[2];
             ++posted) {
            if (const int result = postCallback(main, callback); result != kOk)
                return result;
        }
        printValue("posted", posted);
        return main ? kOk : kNotFound;
    }
    if (args.size() < 2 || args.size() > 3)
        return kUsage;
    return main ? postCallback(main, args) : kNotFound;
}

// What the caption's boxes send: no window manager draws them (Wine itself would frame the tray).
int runSysCommand(const Arguments& args) {
    const HWND main = findMainWindow();
    const std::string box = args.size() == 1 ? args[0] : "";
    if (box != "minimize" && box != "close")
        return kUsage;
    const WPARAM command = box == "close" ? SC_CLOSE : SC_MINIMIZE;
    return !main ? kNotFound : PostMessageW(main, WM_SYSCOMMAND, command, 0) ? kOk : kCallFailed;
}

int runMsgboxOk(const Arguments& args) {
    const HWND box = findVisibleTopLevel(kDialogClass);
    if (!args.empty() || !box)
        return args.empty() ? kNotFound : kUsage;
    return PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0) ? kOk : kCallFailed;
}

// keys [+]<virtual key>...: typed as on the keyboard, so that Windows delivers them as it does a
// player's keys, to the focus of the foreground window (whatever X thinks); "+" holds Shift.
int runKeys(const Arguments& args) {
    std::vector<INPUT> inputs;
    const auto press = [&inputs](WORD key, DWORD flags) {
        inputs.push_back({INPUT_KEYBOARD, {}});
        inputs.back().ki = {key, 0, flags, 0, 0};
    };
    for (const std::string& arg : args) {
        const bool shift = arg.rfind('+', 0) == 0;
        const auto key = parseNumber(arg.substr(shift ? 1 : 0));
        if (!key || *key == 0 || *key > 0xFE)
            return kUsage;
        if (shift)
            press(VK_SHIFT, 0);
        press(static_cast<WORD>(*key), 0);
        press(static_cast<WORD>(*key), KEYEVENTF_KEYUP);
        if (shift)
            press(VK_SHIFT, KEYEVENTF_KEYUP);
    }
    const auto count = static_cast<UINT>(inputs.size());
    return args.empty()                                              ? kUsage
           : SendInput(count, inputs.data(), sizeof(INPUT)) == count ? kOk
                                                                     : kCallFailed;
}

// What a restarted shell sends every top-level window (Wine's explorer never restarts).
int runBroadcastTaskbarCreated(const Arguments& args) {
    const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    if (!args.empty())
        return kUsage;
    return SendNotifyMessageW(HWND_BROADCAST, message, 0, 0) ? kOk : kCallFailed;
}

// What a shell that dies loses: every icon of the program.
int runDeleteIcons(const Arguments& args) {
    const HWND main = findMainWindow();
    if (!args.empty() || !main)
        return args.empty() ? kNotFound : kUsage;
    int deleted = 0;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        NOTIFYICONDATAW data{};
        data.cbSize = NOTIFYICONDATAW_V1_SIZE;
        data.hWnd = hostWindow(main, slot);
        data.uID = static_cast<UINT>(slot);
        deleted += Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
    }
    return deleted == kSlotCount ? kOk : kCallFailed;
}

}  // namespace quor6::probe
