#include "output.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace quor6::probe {

namespace {

std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

void writeLine(std::FILE* stream, std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

}  // namespace

void initOutput() {
    // Binary mode: the C runtime would otherwise turn every LF into CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

std::string toUtf8(std::wstring_view text) {
    if (text.empty())
        return {};
    const int wideLength = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), wideLength, out.data(), length, nullptr, nullptr);
    return out;
}

void printValue(std::string_view key, std::string_view value) {
    writeLine(stdout, std::string(key) + "=" + escaped(value));
}

void printValue(std::string_view key, std::wstring_view value) {
    printValue(key, toUtf8(value));
}

void printValue(std::string_view key, long long value) {
    printValue(key, std::string_view(std::to_string(value)));
}

void printError(std::string_view message) {
    writeLine(stderr, "probe: " + std::string(message));
}

}  // namespace quor6::probe
