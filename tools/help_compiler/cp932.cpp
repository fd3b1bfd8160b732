#include "cp932.h"

#include <optional>
#include <stdexcept>

#include "utf8.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#include <cerrno>
#endif

namespace quor6::help {
namespace {

#ifdef _WIN32

constexpr UINT kCodePage932 = 932;

std::wstring toUtf16(char32_t codePoint) {
    std::wstring wide;
    if (codePoint < 0x10000) {
        wide += static_cast<wchar_t>(codePoint);
    } else {
        const char32_t offset = codePoint - 0x10000;
        wide += static_cast<wchar_t>(0xD800 + (offset >> 10));
        wide += static_cast<wchar_t>(0xDC00 + (offset & 0x3FF));
    }
    return wide;
}

// Without WC_NO_BEST_FIT_CHARS Windows would silently substitute look-alikes.
std::optional<std::string> encodeOne(char32_t codePoint) {
    const std::wstring wide = toUtf16(codePoint);
    char encoded[8] = {};
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, wide.data(),
                                           static_cast<int>(wide.size()), encoded, sizeof encoded,
                                           nullptr, &usedDefault);
    if (length <= 0 || usedDefault) {
        return std::nullopt;
    }
    return std::string(encoded, static_cast<std::size_t>(length));
}

std::optional<char32_t> decodeOne(const std::string& encoded) {
    wchar_t wide[4] = {};
    const int length = MultiByteToWideChar(kCodePage932, MB_ERR_INVALID_CHARS, encoded.data(),
                                           static_cast<int>(encoded.size()), wide, 4);
    if (length != 1) {
        return std::nullopt;
    }
    return static_cast<char32_t>(wide[0]);
}

#else

// Owns one iconv conversion descriptor.
class IconvHandle {
  public:
    IconvHandle(const char* to, const char* from) : handle_(iconv_open(to, from)) {
        if (handle_ == invalidHandle()) {
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~IconvHandle() { iconv_close(handle_); }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    // Converts one complete input; nullopt if iconv rejects any of it.
    std::optional<std::string> convert(const std::string& input) const {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        std::string in = input;
        char output[16] = {};
        char* inPtr = in.data();
        std::size_t inLeft = in.size();
        char* outPtr = output;
        std::size_t outLeft = sizeof output;
        if (iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
            inLeft != 0) {
            return std::nullopt;
        }
        return std::string(output, sizeof output - outLeft);
    }

  private:
    static iconv_t invalidHandle() { return reinterpret_cast<iconv_t>(-1); }

    iconv_t handle_;
};

#endif

}  // namespace

std::string utf8ToCp932(std::string_view utf8) {
    const std::u32string codePoints = decodeUtf8(utf8);
#ifndef _WIN32
    const IconvHandle toCp932("CP932", "UTF-8");
    const IconvHandle fromCp932("UTF-8", "CP932");
#endif
    std::string result;
    for (const char32_t codePoint : codePoints) {
        if (codePoint < 0x80) {
            result += static_cast<char>(codePoint);
            continue;
        }
#ifdef _WIN32
        const std::optional<std::string> encoded = encodeOne(codePoint);
        const bool roundTrips = encoded && decodeOne(*encoded) == codePoint;
#else
        const std::string original = encodeUtf8(codePoint);
        const std::optional<std::string> encoded = toCp932.convert(original);
        const bool roundTrips = encoded && fromCp932.convert(*encoded) == original;
#endif
        if (!roundTrips) {
            throw std::invalid_argument("the character " + encodeUtf8(codePoint) + " (" +
                                        codePointName(codePoint) + ") has no CP932 form");
        }
        result += *encoded;
    }
    return result;
}

std::size_t cp932CharLength(unsigned char firstByte) {
    const bool lead =
        (firstByte >= 0x81 && firstByte <= 0x9F) || (firstByte >= 0xE0 && firstByte <= 0xFC);
    return lead ? 2 : 1;
}

}  // namespace quor6::help
