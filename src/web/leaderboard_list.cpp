#include "web/leaderboard_list.h"

#include <algorithm>
#include <charconv>

namespace numora::web {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kFullWidthComma = "\xEF\xBC\x8C"; // U+FF0C

// The length of the UTF-8 sequence that starts with `lead`.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    return 2;
}

} // namespace

std::string StorageKey(int mode) {
    return "numora.kavex" + std::to_string(mode);
}

std::string FormatList(const StoredList& list) {
    std::string out;
    for (const NamedScore& entry : list) {
        out += entry.name;
        out += ',';
        out += std::to_string(entry.score);
        out += kLineEnd;
    }
    return out;
}

std::optional<StoredList> ParseList(std::string_view text) {
    StoredList list;
    std::size_t at = 0;
    for (NamedScore& entry : list) {
        const std::size_t end = text.find(kLineEnd, at);
        if (end == std::string_view::npos) return std::nullopt;
        const std::string_view line = text.substr(at, end - at);
        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos) return std::nullopt;
        entry.name = std::string(line.substr(0, comma));
        const std::string_view score = line.substr(comma + 1);
        const auto [stop, error] =
            std::from_chars(score.data(), score.data() + score.size(), entry.score);
        if (error != std::errc() || stop != score.data() + score.size()) return std::nullopt;
        if (StorableName(entry.name) != entry.name) return std::nullopt;
        at = end + kLineEnd.size();
    }
    if (FormatList(list) != text) return std::nullopt;
    return list;
}

std::string StorableName(std::string_view typed) {
    std::string out;
    for (std::size_t i = 0; i < typed.size();) {
        const auto lead = static_cast<unsigned char>(typed[i]);
        const std::size_t length = std::min(SequenceLength(lead), typed.size() - i);
        const std::string_view character = typed.substr(i, length);
        i += length;
        // C0 controls and DEL, then the C1 controls U+0080..U+009F (C2 80..C2 9F).
        const bool control =
            lead < 0x20 || lead == 0x7F ||
            (lead == 0xC2 && length == 2 && static_cast<unsigned char>(character[1]) <= 0x9F);
        if (control) continue;
        if (character == ",")
            out += kFullWidthComma;
        else
            out += character;
    }
    return out;
}

} // namespace numora::web
