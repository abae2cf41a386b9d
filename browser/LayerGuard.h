// What a browser access layer does with the failures of the code under it: every
// exception (a reply of an unexpected shape, a number out of range, memory running
// out on a huge reply) leaves the layer as BrowserError, the one kind the logic's
// guards catch.
#pragma once

#include "browser/BrowserAccess.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <new>
#include <string_view>

namespace layer_guard {

const std::int32_t kUnexpected = static_cast<std::int32_t>(0x8000FFFFu);   // E_UNEXPECTED
const std::int32_t kOutOfMemory = static_cast<std::int32_t>(0x8007000Eu);  // E_OUTOFMEMORY

}  // namespace layer_guard

// Runs one operation of a layer: its result, or BrowserError for any failure.
template <typename F>
auto AsBrowserError(F f) -> decltype(f()) {
    try {
        return f();
    } catch (const BrowserError&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw BrowserError("out of memory", layer_guard::kOutOfMemory);
    } catch (const std::exception&) {
        throw BrowserError("unexpected reply", layer_guard::kUnexpected);
    }
}

// The index an array's property name stands for: -1 for a name that is no index
// ("length"). A name that starts with a digit must be an index below `count`
// written without leading zeros; anything else ("1x", "01", "99999999999") is a
// malformed reply and throws BrowserError.
inline std::int32_t ArrayIndexName(std::string_view name, std::size_t count) {
    if (name.empty() || name[0] < '0' || name[0] > '9') return -1;
    std::size_t value = 0;
    for (const char c : name) {
        if (c < '0' || c > '9') throw BrowserError("malformed index", layer_guard::kUnexpected);
        value = value * 10 + static_cast<std::size_t>(c - '0');
        if (value >= count) throw BrowserError("index out of range", layer_guard::kUnexpected);
    }
    if (name.size() > 1 && name[0] == '0') throw BrowserError("malformed index", layer_guard::kUnexpected);
    return static_cast<std::int32_t>(value);
}
