#include "utf8.h"

#include <cstdint>
#include <cstdio>
#include <stdexcept>

namespace quor6::help {
namespace {

[[noreturn]] void throwBadUtf8(std::size_t offset) {
    throw std::invalid_argument("invalid UTF-8 at byte " + std::to_string(offset));
}

}  // namespace

std::u32string decodeUtf8(std::string_view text) {
    std::u32string result;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<std::uint8_t>(text[i]);
        std::size_t length = 0;
        char32_t codePoint = 0;
        char32_t smallest = 0;
        if (lead < 0x80) {
            length = 1;
            codePoint = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            codePoint = lead & 0x1Fu;
            smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            codePoint = lead & 0x0Fu;
            smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            codePoint = lead & 0x07u;
            smallest = 0x10000;
        } else {
            throwBadUtf8(i);
        }
        if (i + length > text.size()) {
            throwBadUtf8(i);
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto trail = static_cast<std::uint8_t>(text[i + k]);
            if ((trail & 0xC0) != 0x80) {
                throwBadUtf8(i);
            }
            codePoint = (codePoint << 6) | (trail & 0x3Fu);
        }
        if (codePoint < smallest || codePoint > 0x10FFFF ||
            (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
            throwBadUtf8(i);
        }
        result.push_back(codePoint);
        i += length;
    }
    return result;
}

std::string encodeUtf8(char32_t codePoint) {
    std::string out;
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return out;
}

std::string codePointName(char32_t codePoint) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
    return name;
}

}  // namespace quor6::help
