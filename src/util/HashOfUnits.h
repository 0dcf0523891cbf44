#pragma once
// A hash of a run of text's units (UTF-16 or the bytes of UTF-8), for the
// tables that find links' texts, paths and names again.

#include <QtGlobal>

#include <bit>
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
    // The last 0 to 7 bytes, the low bytes of `rest`. Loaded a fixed size
    // at a time (a copy of a varying size would call memcpy for each text):
    // the 8 bytes that end the text, shifted past those already taken.
    quint64 rest = 0;
    const std::size_t left = length - i;
    if constexpr (std::endian::native == std::endian::little) {
        if (left > 0 && length >= 8) {
            std::memcpy(&rest, bytes + length - 8, sizeof rest);
            rest >>= 8 * (8 - left);
        } else if (left >= 4) {
            quint32 low = 0;
            quint32 high = 0;
            std::memcpy(&low, bytes + i, sizeof low);
            std::memcpy(&high, bytes + length - 4, sizeof high);
            rest = low | ((quint64(high) >> (8 * (8 - left))) << 32);
        } else {
            for (std::size_t at = 0; at < left; ++at)
                rest |= quint64(static_cast<unsigned char>(bytes[i + at])) << (8 * at);
        }
    } else if (left > 0) { // an empty run may have no units at all to point to
        std::memcpy(&rest, bytes + i, left);
    }
    second = (second ^ rest) * kOtherOdd;
    // Each lane's high bits hold what its low bits lack: folded in.
    quint64 hash = (first ^ (first >> 29)) + (second ^ (second >> 31));
    hash *= kOdd;
    return hash ^ (hash >> 32);
}

} // namespace quillan
