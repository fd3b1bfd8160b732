// Entry point of quor6.exe: builds the window object and runs its message loop.
#include <windows.h>

#include <commctrl.h>

#include "core/random_source.h"
#include "shell/frm_quor6.h"
#include "shell/win32/control_ids.h"
#include "shell/win32/form_events.h"
#include "shell/win32/module_procedure.h"
#include "shell/win32/win32_toolkit.h"

namespace {

using quor6::MenuCommand;

// Restricts DLL loading to the system directory, so that nothing planted beside the
// executable or in the current directory is ever loaded. Looked up at run time because
// older systems lack the call.
void restrictDllSearch() {
    const auto setDefault = quor6::win32::procedure<BOOL(WINAPI*)(DWORD)>(
        ::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (setDefault != nullptr)
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    ::SetDllDirectoryW(L"");
}

// The clocks a puzzle's seed is drawn from, read from Windows itself: the standard library's
// clocks would link its exception support into the program.
quor6::ClockReadings readWindowsClocks() {
    FILETIME wall{};
    ::GetSystemTimeAsFileTime(&wall);
    LARGE_INTEGER counter{};
    ::QueryPerformanceCounter(&counter);
    return {(static_cast<std::uint64_t>(wall.dwHighDateTime) << 32) | wall.dwLowDateTime,
            static_cast<std::uint64_t>(counter.QuadPart)};
}

// Passes the window's events on to the handlers of the window object.
class FormEventRouter final : public quor6::win32::FormEvents {
  public:
    explicit FormEventRouter(quor6::frmQuor6& form) : form_(form) {}

    void trayMouse(int slot, std::uint32_t message) override { form_.onTrayMouse(slot, message); }
    void command(int id) override {
        if (id == quor6::win32::kCommand1Id) {
            pass(Kind::OkButton);
        } else if (id == quor6::win32::kCommand2Id) {
            pass(Kind::QuitButton);
        } else if (id >= static_cast<int>(MenuCommand::resetAnser) &&
                   id <= static_cast<int>(MenuCommand::rirekimnuLast)) {
            pass(Kind::MenuCommand, static_cast<std::uint32_t>(id));
        }
    }
    void closeRequested() override { pass(Kind::Close); }
    void taskbarCreated() override { pass(Kind::TaskbarCreated); }
    void trayRetryTimer() override { pass(Kind::TrayRetryTimer); }

  private:
    using Kind = quor6::WindowMessage::Kind;
    void pass(Kind kind, std::uint32_t value = 0) { form_.receive({kind, 0, value}); }

    quor6::frmQuor6& form_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // The program takes no command line; whatever is given is ignored.
    restrictDllSearch();
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);

    quor6::win32::Win32Toolkit toolkit(instance);
    if (!toolkit.created()) {
        ::MessageBoxW(nullptr, L"ウィンドウを作成できませんでした。", L"quor6",
                      MB_OK | MB_ICONERROR);
        return 1;
    }
    quor6::ClockSeededRandom random(readWindowsClocks);
    quor6::frmQuor6 form(toolkit, random);
    FormEventRouter router(form);
    toolkit.connect(router);
    form.Form_Load();
    return form.runMessageLoop();
}
