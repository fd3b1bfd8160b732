#pragma once

namespace quor6::probe {

// What the probe knows of the program's window: its class and the ids of its controls.
inline constexpr wchar_t kMainClass[] = L"frmQuor6";
inline constexpr wchar_t kDialogClass[] = L"#32770";
inline constexpr wchar_t kMenuClass[] = L"#32768";
inline constexpr wchar_t kTrayClass[] = L"Shell_TrayWnd";
inline constexpr wchar_t kStandaloneTrayClass[] = L"__winex11_standalone_tray";

inline constexpr int kFirstHostId = 1001;  // Text1; tray slot k is hosted by kFirstHostId + k - 1
inline constexpr int kSlotCount = 5;
inline constexpr int kHistoryStoreId = 2001;   // rirekiList, oldest first
inline constexpr int kHistoryWindowId = 2002;  // rirekilist2, newest first

// A message box keeps its text in the static with this id, as on Windows.
inline constexpr int kDialogTextId = 0xFFFF;

}  // namespace quor6::probe
