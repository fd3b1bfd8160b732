#pragma once

#include <optional>
#include <string>

namespace quor6::win32 {

// The first number of a program file's version, read from its version record with
// version.dll; nothing where the file is missing or carries no record.
std::optional<unsigned> readFileMajorVersion(const std::wstring& path);

}  // namespace quor6::win32
