// The page's elements as the view needs them, made and changed from C++ through
// emscripten::val: the page has no script of its own, as the window has no form file.
#pragma once

#include <emscripten/val.h>

#include <string>
#include <string_view>

namespace numora::web {

using emscripten::val;

val Document();
val ById(const std::string& id);

// A new element `tag`, with `id` unless it is empty, added at the end of `parent`.
val Make(const char* tag, const val& parent, const std::string& id = {});
// Absolutely placed at the desktop's pixels, in CSS pixels of its parent.
void Place(val element, int left, int top, int width, int height);
void Move(val element, int left, int top);
// Always as text: a caption or a name is shown as the characters it holds, never as markup.
void SetText(val element, std::string_view text);
void SetShown(val element, bool shown);
void SetClass(val element, const char* name, bool on);
// A picture of resources/bitmaps, with its sharp rendering for screens of twice the density.
void SetBitmap(val img, int id);
// `handler` is a function the page registers with EMSCRIPTEN_BINDINGS; it gets the event.
// `first`: before the event reaches the elements inside `target` (the capture phase).
void Listen(val target, const char* type, const char* handler, bool first = false);
// A <dialog> with id `id` in `parent`, titled by a title bar (ids `id` + "Title", + "Close")
// whose 关闭 button calls `closeHandler`; `closedHandler` gets its close event, however it
// was closed. A browser page has no window manager to draw the title bar.
val MakeDialog(const val& parent, const std::string& id, const char* title,
               const char* closeHandler, const char* closedHandler);
// Whether `node` is `container` or lies inside it.
bool Within(const val& node, const val& container);

} // namespace numora::web
