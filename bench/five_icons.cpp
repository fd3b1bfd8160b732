// five_icons.exe: the least a tray game must do at start-up, as a yardstick for quor6.exe's
// start-up time. One hidden window, five tray icons, a message loop; WM_CLOSE ends it and
// removes the icons (a killed process would leave them behind in Wine's tray).
#include <windows.h>

#include <shellapi.h>

namespace {

constexpr wchar_t kClassName[] = L"Quor6BenchFiveIcons";
constexpr UINT kCallbackMessage = WM_APP;

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        // The icons and the window go in main's destructors, after the loop.
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class HiddenWindow {
  public:
    explicit HiddenWindow(HINSTANCE instance) : instance_(instance) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = windowProcedure;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kClassName;
        registered_ = RegisterClassW(&windowClass) != 0;
        if (registered_) {
            handle_ =
                CreateWindowExW(0, kClassName, L"five_icons", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 200, 100, nullptr, nullptr, instance, nullptr);
        }
    }
    HiddenWindow(const HiddenWindow&) = delete;
    HiddenWindow& operator=(const HiddenWindow&) = delete;
    ~HiddenWindow() {
        if (handle_ != nullptr)
            DestroyWindow(handle_);
        if (registered_)
            UnregisterClassW(kClassName, instance_);
    }

    HWND handle() const { return handle_; }

  private:
    HINSTANCE instance_;
    bool registered_ = false;
    HWND handle_ = nullptr;
};

class TrayIcon {
  public:
    TrayIcon(HWND owner, UINT id, LPCWSTR stockIcon) {
        data_.cbSize = sizeof(data_);
        data_.hWnd = owner;
        data_.uID = id;
        data_.uFlags = NIF_ICON | NIF_MESSAGE;
        data_.uCallbackMessage = kCallbackMessage;
        data_.hIcon = LoadIconW(nullptr, stockIcon);
        added_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
    }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    ~TrayIcon() {
        if (added_)
            Shell_NotifyIconW(NIM_DELETE, &data_);
    }

    bool added() const { return added_; }

  private:
    NOTIFYICONDATAW data_{};
    bool added_ = false;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const HiddenWindow window(instance);
    if (window.handle() == nullptr)
        return 1;
    // Windows' own icons: nothing to load from resources, and each cell looks different.
    const TrayIcon first(window.handle(), 1, IDI_APPLICATION);
    const TrayIcon second(window.handle(), 2, IDI_INFORMATION);
    const TrayIcon third(window.handle(), 3, IDI_WARNING);
    const TrayIcon fourth(window.handle(), 4, IDI_ERROR);
    const TrayIcon fifth(window.handle(), 5, IDI_QUESTION);
    if (!(first.added() && second.added() && third.added() && fourth.added() && fifth.added()))
        return 2;
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
