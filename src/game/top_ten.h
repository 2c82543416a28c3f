// The rules of a mode's top-ten list, whatever keeps it (a file beside the desktop program,
// the browser's storage for the web edition): where a final score enters, and the list with
// the new entry in.
#pragma once

#include <array>
#include <cstdint>

namespace numora {

inline constexpr int kTopTenSize = 10;

// A list, best first: index 0 is place 1. Entry has a `score`.
template <class Entry> using TopTen = std::array<Entry, kTopTenSize>;

// The index the score earns, or -1: the first place whose score it beats. A tie goes below
// the scores already there, so a score equal to the tenth earns nothing.
template <class Entry> int PlaceFor(const TopTen<Entry>& list, std::int64_t score) {
    for (int k = 0; k < kTopTenSize; ++k)
        if (score > list[static_cast<std::size_t>(k)].score) return k;
    return -1;
}

// The list with `entry` at `place` (0..9): the ones from there on move down one and the old
// tenth drops out. A place off the list changes nothing.
template <class Entry> TopTen<Entry> WithEntry(const TopTen<Entry>& list, int place, Entry entry) {
    if (place < 0 || place >= kTopTenSize) return list;
    TopTen<Entry> out = list;
    for (int k = kTopTenSize - 1; k > place; --k)
        out[static_cast<std::size_t>(k)] = list[static_cast<std::size_t>(k - 1)];
    out[static_cast<std::size_t>(place)] = std::move(entry);
    return out;
}

} // namespace numora
