// Commands that act on the program as the shell, the window system or a player would.
#include <windows.h>

#include <shellapi.h>

#include <array>
#include <random>
#include <string>

#include "commands.h"
#include "control_ids.h"
#include "output.h"
#include "window_query.h"

namespace quor6::probe {

namespace {

constexpr int kMenuSlot = kSlotCount;

// Whether the shell's callback with this mouse message would act on the slot: a press steps a
// digit, judges or opens the menu, a right double-click on the menu icon shows the answer.
bool acts(int slot, unsigned message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN ||
           (slot == kMenuSlot && message == WM_RBUTTONDBLCLK);
}

struct StrayCallback {
    WPARAM wParam;
    LPARAM lParam;
};

// A callback to the host of `slot` that the shell never sends, or a harmless one it does. Half
// carry a message that would act, the rest one near the mouse range or any 16 bits. Every one
// whose message would act is disguised as the shell never sends it: the message in lParam has
// high bits set, or wParam is not the slot's id (another slot's, 0 or anything), or both.
StrayCallback strayCallback(std::mt19937& random, int slot) {
    constexpr std::array<unsigned, 3> kActing = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_RBUTTONDBLCLK};
    std::uniform_int_distribution<int> die(0, 3);
    std::uniform_int_distribution<unsigned> word(0, 0xFFFF);
    std::uniform_int_distribution<unsigned> nearMouse(WM_MOUSEFIRST - 2, WM_MOUSELAST + 4);
    std::uniform_int_distribution<std::size_t> acting(0, kActing.size() - 1);

    const int kind = die(random);
    const unsigned message = kind < 2    ? kActing[acting(random)]
                             : kind == 2 ? nearMouse(random)
                                         : word(random);
    unsigned high = 0;
    auto wParam = static_cast<unsigned long long>(slot);
    // 0: none, or both where the message would act; 1: wParam only; 2: lParam only; 3: both.
    const int disguise = die(random);
    if (disguise != 0 || acts(slot, message)) {
        if (disguise != 1)
            high = 1 + word(random) % 0xFFFF;
        if (disguise != 2) {
            const int other = die(random);
            wParam = other == 0 ? 0
                     : other == 1
                         ? (static_cast<unsigned long long>(word(random)) << 16) | word(random)
                         : static_cast<unsigned long long>((slot + other - 1) % kSlotCount + 1);
            if (wParam == static_cast<unsigned long long>(slot))
                wParam = 0;
        }
    }
    return {static_cast<WPARAM>(wParam),
            static_cast<LPARAM>((static_cast<unsigned long long>(high) << 16) | message)};
}

int postToMain(UINT message, WPARAM wParam) {
    const HWND main = findMainWindow();
    if (!main)
        return kNotFound;
    return PostMessageW(main, message, wParam, 0) ? kOk : kCallFailed;
}

}  // namespace

std::optional<unsigned long long> parseNumber(const std::string& text) {
    if (text.empty())
        return std::nullopt;
    std::size_t used = 0;
    try {
        const unsigned long long value = std::stoull(text, &used, 0);
        if (used != text.size())
            return std::nullopt;
        return value;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

int runPost(const Arguments& args) {
    if (args.size() < 2 || args.size() > 3)
        return kUsage;
    const auto slot = parseNumber(args[0]);
    const auto message = parseNumber(args[1]);
    const auto wParam = args.size() == 3 ? parseNumber(args[2]) : slot;
    if (!slot || *slot < 1 || *slot > kSlotCount || !message || !wParam)
        return kUsage;
    const HWND main = findMainWindow();
    if (!main)
        return kNotFound;
    const HWND host = hostWindow(main, static_cast<int>(*slot));
    if (!host)
        return kNotFound;
    // The shell's callback: WM_MOUSEMOVE to the host, the slot in wParam, the mouse message
    // in lParam.
    return PostMessageW(host, WM_MOUSEMOVE, static_cast<WPARAM>(*wParam),
                        static_cast<LPARAM>(*message))
               ? kOk
               : kCallFailed;
}

int runFlood(const Arguments& args) {
    if (args.size() != 2)
        return kUsage;
    const auto count = parseNumber(args[0]);
    const auto seed = parseNumber(args[1]);
    if (!count || !seed)
        return kUsage;
    const HWND main = findMainWindow();
    if (!main)
        return kNotFound;

    std::mt19937 random(static_cast<std::mt19937::result_type>(*seed));
    std::uniform_int_distribution<int> slots(1, kSlotCount);
    unsigned long long posted = 0;
    for (unsigned long long i = 0; i < *count; ++i) {
        const int slot = slots(random);
        const StrayCallback callback = strayCallback(random, slot);
        if (PostMessageW(hostWindow(main, slot), WM_MOUSEMOVE, callback.wParam, callback.lParam))
            ++posted;
    }
    printValue("posted", static_cast<long long>(posted));
    return posted == *count ? kOk : kCallFailed;
}

int runVerdicts(const Arguments& args) {
    if (args.size() != 1)
        return kUsage;
    const auto count = parseNumber(args[0]);
    if (!count)
        return kUsage;
    const HWND main = findMainWindow();
    if (!main)
        return kNotFound;
    constexpr int kJudgeSlot = kSlotCount;
    constexpr int kDigitSlot = 1;
    // A click on the sphere shows a verdict; the next click on a digit icon only brings the
    // guess back, without stepping (the release ends the hold that the press began).
    constexpr struct {
        int slot;
        UINT message;
    } kCycle[] = {{kJudgeSlot, WM_LBUTTONDOWN},
                  {kJudgeSlot, WM_LBUTTONUP},
                  {kDigitSlot, WM_LBUTTONDOWN},
                  {kDigitSlot, WM_LBUTTONUP}};
    unsigned long long posted = 0;
    for (unsigned long long i = 0; i < *count; ++i) {
        for (const auto& callback : kCycle) {
            if (PostMessageW(hostWindow(main, callback.slot), WM_MOUSEMOVE,
                             static_cast<WPARAM>(callback.slot),
                             static_cast<LPARAM>(callback.message))) {
                ++posted;
            }
        }
    }
    printValue("posted", static_cast<long long>(posted));
    return posted == *count * std::size(kCycle) ? kOk : kCallFailed;
}

int runCommand(const Arguments& args) {
    if (args.size() != 1)
        return kUsage;
    const auto id = parseNumber(args[0]);
    if (!id || *id > 0xFFFF)
        return kUsage;
    // A menu choice: WM_COMMAND with notification code 0 in the high word.
    return postToMain(WM_COMMAND, static_cast<WPARAM>(*id));
}

int runClose(const Arguments& args) {
    if (!args.empty())
        return kUsage;
    return postToMain(WM_CLOSE, 0);
}

int runMinimize(const Arguments& args) {
    if (!args.empty())
        return kUsage;
    // What the caption's minimize box sends (Xvfb has no window manager to draw it).
    return postToMain(WM_SYSCOMMAND, SC_MINIMIZE);
}

int runMsgboxOk(const Arguments& args) {
    if (!args.empty())
        return kUsage;
    const HWND box = findVisibleTopLevel(kDialogClass);
    if (!box)
        return kNotFound;
    const HWND ok = GetDlgItem(box, IDOK);
    if (!ok)
        return kNotFound;
    return PostMessageW(ok, BM_CLICK, 0, 0) ? kOk : kCallFailed;
}

int runMenuKey(const Arguments& args) {
    if (args.empty())
        return kUsage;
    const HWND menu = findVisibleTopLevel(kMenuClass);
    if (!menu)
        return kNotFound;
    // Keys go to the menu window itself: the menu's owner is hidden and has no keyboard focus.
    for (const std::string& key : args) {
        const auto virtualKey = parseNumber(key);
        if (!virtualKey || *virtualKey > 0xFF)
            return kUsage;
        if (!PostMessageW(menu, WM_KEYDOWN, static_cast<WPARAM>(*virtualKey), 0)) {
            return kCallFailed;
        }
    }
    return kOk;
}

int runBroadcastTaskbarCreated(const Arguments& args) {
    if (!args.empty())
        return kUsage;
    // Wine's explorer never sends this itself; a shell restart can only be simulated.
    const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    if (message == 0)
        return kCallFailed;
    printValue("message", static_cast<long long>(message));
    return SendNotifyMessageW(HWND_BROADCAST, message, 0, 0) ? kOk : kCallFailed;
}

int runDeleteIcons(const Arguments& args) {
    if (!args.empty())
        return kUsage;
    const HWND main = findMainWindow();
    if (!main)
        return kNotFound;
    int deleted = 0;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        NOTIFYICONDATAW data{};
        data.cbSize = NOTIFYICONDATAW_V1_SIZE;
        data.hWnd = hostWindow(main, slot);
        data.uID = static_cast<UINT>(slot);
        const bool done = Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
        printValue("deleted." + std::to_string(slot), done ? 1LL : 0LL);
        if (done)
            ++deleted;
    }
    return deleted == kSlotCount ? kOk : kCallFailed;
}

}  // namespace quor6::probe
