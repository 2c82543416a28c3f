// The browser's local storage, where the lists live. A browser may refuse it (a private
// window, a setting that blocks sites' data) or be full; both are answers here, never an
// exception that would unwind through the page.
#pragma once

#include <optional>
#include <string>

namespace numora::web {

struct StoredText {
    enum class Status { Found, Nothing, Refused };
    Status status = Status::Nothing;
    std::string text; // when Found
};

enum class StoreStatus { Stored, Refused, Full };

StoredText ReadStored(const std::string& key);
StoreStatus Store(const std::string& key, const std::string& text);

} // namespace numora::web
