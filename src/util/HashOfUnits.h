#pragma once
// A hash of a run of text's units (UTF-16 or the bytes of UTF-8), for the
// tables that find links' texts, paths and names again.

#include <QtGlobal>

#include <cstddef>
#include <cstring>

namespace quillan {

// Sixteen bytes a step in two lanes that do not wait for each other: the
// texts are short (links, paths, names), and a general hash costs more than
// what it saves for them. The tables compare the text they find whole.
template <typename Unit>
quint64 HashOfUnits(const Unit *units, qsizetype size)
{
    constexpr quint64 kOdd = 0x9E3779B97F4A7C15ULL;
    constexpr quint64 kOtherOdd = 0xC2B2AE3D27D4EB4FULL;
    const auto *bytes = reinterpret_cast<const char *>(units);
    const auto length = std::size_t(size) * sizeof(Unit);
    quint64 first = quint64(length) * kOdd;
    quint64 second = kOtherOdd;
    std::size_t i = 0;
    for (; i + 16 <= length; i += 16) {
        quint64 word = 0;
        quint64 next = 0;
        std::memcpy(&word, bytes + i, sizeof word);
        std::memcpy(&next, bytes + i + 8, sizeof next);
        first = (first ^ word) * kOdd;
        second = (second ^ next) * kOtherOdd;
    }
    if (i + 8 <= length) {
        quint64 word = 0;
        std::memcpy(&word, bytes + i, sizeof word);
        first = (first ^ word) * kOdd;
        i += 8;
    }
    quint64 rest = 0;
    if (length > i) // an empty run may have no units at all to point to
        std::memcpy(&rest, bytes + i, length - i);
    second = (second ^ rest) * kOtherOdd;
    // Each lane's high bits hold what its low bits lack: folded in.
    quint64 hash = (first ^ (first >> 29)) + (second ^ (second >> 31));
    hash *= kOdd;
    return hash ^ (hash >> 32);
}

} // namespace quillan
