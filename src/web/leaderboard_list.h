// A mode's top ten as the browser keeps it: the desktop's line format (name "," score, CR
// LF, ten lines), as text. Pure functions, apart from the page and its storage.
#pragma once

#include "game/top_ten.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace numora::web {

struct NamedScore {
    std::string name = "0"; // what a place holds when no one has earned it yet
    std::int64_t score = 0;
    bool operator==(const NamedScore&) const = default;
};
using StoredList = TopTen<NamedScore>;

// The storage key of a mode's list, after the desktop's file kavex<mode>.tmp.
std::string StorageKey(int mode);
std::string FormatList(const StoredList& list);
// The list in `text`, only when `text` is one this page writes: ten lines of a storable
// name, a comma and a score, each ending in CR LF, that format back to the same text. Any
// other text (damaged, edited by hand, from another program) is not a list to write over.
std::optional<StoredList> ParseList(std::string_view text);
// The name as a list can keep it (UTF-8): a comma, which would end the name, becomes a
// full-width comma, and control characters are dropped.
std::string StorableName(std::string_view typed);

} // namespace numora::web
