#pragma once
// probe: a console program that runs beside quor6.exe in the same Wine prefix and reads or
// prods its windows for the end-to-end tests.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quor6::probe {

using Arguments = std::vector<std::string>;

// Exit codes, so that a harness can tell "not there" from "broken".
enum ExitCode : int {
    kOk = 0,
    kNotFound = 1,    // the window, box or menu asked for is not there
    kUsage = 2,       // bad command line
    kCallFailed = 3,  // a window did not answer or a call was refused
    kTimedOut = 4,    // wait: the condition did not come true in time
};

// What the probe knows of the program's window: its class and the ids of its controls.
inline constexpr wchar_t kMainClass[] = L"frmQuor6";
inline constexpr wchar_t kDialogClass[] = L"#32770";
inline constexpr wchar_t kMenuClass[] = L"#32768";
inline constexpr int kSlotCount = 5;
inline constexpr int kFirstHostId = 1001;      // Text1; slot k is hosted by kFirstHostId + k - 1
inline constexpr int kHistoryStoreId = 2001;   // rirekiList, oldest first
inline constexpr int kHistoryWindowId = 2002;  // rirekilist2, newest first

// Accepts decimal or 0x-prefixed hexadecimal; anything else is a usage error.
std::optional<unsigned long long> parseNumber(const std::string& text);

// The probe's stdout carries UTF-8 key=value lines; backslash, CR and LF in a value are
// escaped, so that one line is one key.
std::string toUtf8(std::wstring_view text);
void printValue(std::string_view key, std::string_view value);
void printValue(std::string_view key, std::wstring_view value);
void printValue(std::string_view key, long long value);

HWND findMainWindow();
HWND findVisibleTopLevel(const wchar_t* className);
HWND hostWindow(HWND main, int slot);

// Observation: print key=value lines. Wait polls a condition inside one probe process.
int runState(const Arguments& args);
int runMsgbox(const Arguments& args);
int runMenu(const Arguments& args);
int runWait(const Arguments& args);

// Actions: what the shell, the window system or a player would send the program.
int runPost(const Arguments& args);
int runSysCommand(const Arguments& args);
int runMsgboxOk(const Arguments& args);
int runKeys(const Arguments& args);
int runBroadcastTaskbarCreated(const Arguments& args);
int runDeleteIcons(const Arguments& args);

}  // namespace quor6::probe
