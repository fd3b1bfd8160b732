#pragma once

// Child window ids of frmQuor6. Test tools find the controls by these numbers.
namespace quor6::win32 {

inline constexpr int kText1Id = 1001;  // Text1..Text5 are 1001..1005
inline constexpr int kRirekiListId = 2001;
inline constexpr int kRirekilist2Id = 2002;
inline constexpr int kCommand1Id = 3001;
inline constexpr int kCommand2Id = 3002;
inline constexpr int kLabel1Id = 4001;
inline constexpr int kLabel2Id = 4002;
inline constexpr int kLabel3Id = 4003;
inline constexpr int kPicture1Id = 4010;
inline constexpr int kIconHolderFirstId = 5000;  // in the order of IconHolder

// Not a child window: the id of the form's timer that offers refused tray icons again.
inline constexpr int kTrayRetryTimerId = 6001;

inline constexpr wchar_t kFormClassName[] = L"frmQuor6";

}  // namespace quor6::win32
