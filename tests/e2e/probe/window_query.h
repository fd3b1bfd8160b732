#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace quor6::probe {

// Reads other processes' windows. Every message is sent with a timeout so that a hung
// program makes the probe fail instead of hanging the test run.
std::vector<HWND> topLevelWindows(const wchar_t* className);
HWND findMainWindow();
HWND findVisibleTopLevel(const wchar_t* className);
HWND hostWindow(HWND main, int slot);

std::wstring className(HWND window);
std::optional<std::wstring> windowText(HWND window);
std::optional<std::vector<std::wstring>> listLines(HWND list);
std::optional<long long> listCount(HWND list);
std::vector<HWND> childWindows(HWND parent);
std::string rectText(HWND window);

}  // namespace quor6::probe
