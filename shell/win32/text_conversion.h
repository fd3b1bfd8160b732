#pragma once

#include <string>
#include <string_view>

namespace quor6::win32 {

// The logic speaks UTF-8; every text the player sees goes through the wide Windows APIs.
std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);

}  // namespace quor6::win32
