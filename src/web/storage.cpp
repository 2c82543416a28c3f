#include "web/storage.h"

#include <emscripten/em_macros.h>

// After em_macros.h, whose EMSCRIPTEN_KEEPALIVE it uses without including it.
#include <emscripten/em_js.h>

#include <vector>

// The browser throws where storage is refused or full, and only script can catch what it
// throws: these two functions are the page's only lines of JavaScript. Each answers with a
// number, so nothing thrown ever reaches the C++ code.

// The bodies are JavaScript, which the C++ formatter would break.
// clang-format off

// The stored text's length in UTF-8 bytes, copied to `out` when `capacity` holds it and a
// terminating NUL; -1 when nothing is stored under `key`, -2 when the browser refuses.
EM_JS(int, numora_read_stored, (const char* key, char* out, int capacity), {
    try {
        const text = window.localStorage.getItem(UTF8ToString(key));
        if (text === null) return -1;
        const length = lengthBytesUTF8(text);
        if (length < capacity) stringToUTF8(text, out, capacity);
        return length;
    } catch (e) {
        return -2;
    }
});

// 0 stored, 1 the storage is full, 2 refused.
EM_JS(int, numora_store, (const char* key, const char* text), {
    try {
        window.localStorage.setItem(UTF8ToString(key), UTF8ToString(text));
        return 0;
    } catch (e) {
        const full = e && (e.name === "QuotaExceededError" || e.code === 22 ||
                           e.name === "NS_ERROR_DOM_QUOTA_REACHED");
        return full ? 1 : 2;
    }
});

// clang-format on

namespace numora::web {

StoredText ReadStored(const std::string& key) {
    StoredText read;
    // Asked twice when the text is longer than the first guess: once for its length.
    std::vector<char> buffer(4096);
    for (;;) {
        const int length =
            numora_read_stored(key.c_str(), buffer.data(), static_cast<int>(buffer.size()));
        if (length == -1) return read;
        if (length < 0) {
            read.status = StoredText::Status::Refused;
            return read;
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            read.status = StoredText::Status::Found;
            read.text.assign(buffer.data(), static_cast<std::size_t>(length));
            return read;
        }
        buffer.resize(static_cast<std::size_t>(length) + 1);
    }
}

StoreStatus Store(const std::string& key, const std::string& text) {
    switch (numora_store(key.c_str(), text.c_str())) {
    case 0:
        return StoreStatus::Stored;
    case 1:
        return StoreStatus::Full;
    default:
        return StoreStatus::Refused;
    }
}

} // namespace numora::web
