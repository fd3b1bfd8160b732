#pragma once

#include <string>
#include <string_view>

namespace quor6::probe {

// The probe's stdout carries UTF-8 key=value lines for the test harness to parse. Values are
// written as they are except that backslash, CR and LF are escaped, so one line is one key.
void initOutput();
std::string toUtf8(std::wstring_view text);
void printValue(std::string_view key, std::string_view value);
void printValue(std::string_view key, std::wstring_view value);
void printValue(std::string_view key, long long value);
void printError(std::string_view message);

}  // namespace quor6::probe
