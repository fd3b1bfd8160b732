#include "context_hash.h"

namespace quor6::help {
namespace {

int hashValue(char c) {
    if (c >= '1' && c <= '9') {
        return c - '1' + 1;
    }
    if (c == '0') {
        return 10;
    }
    if (c == '.') {
        return 12;
    }
    if (c == '_') {
        return 13;
    }
    if (c >= 'A' && c <= 'Z') {
        return c - 'A' + 17;
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 17;
    }
    return -1;
}

}  // namespace

bool isValidContextName(std::string_view name) {
    if (name.empty()) {
        return false;
    }
    for (const char c : name) {
        if (hashValue(c) < 0) {
            return false;
        }
    }
    return true;
}

std::int32_t contextHash(std::string_view name) {
    // Unsigned arithmetic gives the wrap-around without signed overflow.
    std::uint32_t hash = 0;
    for (const char c : name) {
        const int value = hashValue(c);
        if (value >= 0) {
            hash = hash * 43u + static_cast<std::uint32_t>(value);
        }
    }
    return static_cast<std::int32_t>(hash);
}

}  // namespace quor6::help
