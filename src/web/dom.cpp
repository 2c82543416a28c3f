#include "web/dom.h"

namespace numora::web {

namespace {

std::string Px(int n) {
    return std::to_string(n) + "px";
}

} // namespace

val Document() {
    return val::global("document");
}

val ById(const std::string& id) {
    return Document().call<val>("getElementById", id);
}

val Make(const char* tag, const val& parent, const std::string& id) {
    val element = Document().call<val>("createElement", val(tag));
    if (!id.empty()) element.set("id", id);
    parent.call<void>("appendChild", element);
    return element;
}

val MakeDialog(const val& parent, const std::string& id, const char* title,
               const char* closeHandler, const char* closedHandler) {
    val dialog = Make("dialog", parent, id);
    dialog.call<void>("setAttribute", val("aria-labelledby"), val(id + "Title"));
    val titleBar = Make("div", dialog);
    titleBar.set("className", "title-bar");
    SetText(Make("span", titleBar, id + "Title"), title);
    val close = Make("button", titleBar, id + "Close");
    close.set("className", "close");
    close.set("type", "button");
    SetText(close, "关闭");
    Listen(close, "click", closeHandler);
    Listen(dialog, "close", closedHandler);
    return dialog;
}

void Place(val element, int left, int top, int width, int height) {
    val style = element["style"];
    style.set("left", Px(left));
    style.set("top", Px(top));
    style.set("width", Px(width));
    style.set("height", Px(height));
}

void Move(val element, int left, int top) {
    val style = element["style"];
    style.set("left", Px(left));
    style.set("top", Px(top));
}

void SetText(val element, std::string_view text) {
    element.set("textContent", std::string(text));
}

void SetShown(val element, bool shown) {
    element.set("hidden", !shown);
}

void SetClass(val element, const char* name, bool on) {
    element["classList"].call<bool>("toggle", val(name), val(on));
}

void SetBitmap(val img, int id) {
    const std::string base = "bitmaps/bmp" + std::to_string(id);
    img.set("srcset", base + ".png 1x, " + base + "@2x.png 2x");
    img.set("src", base + ".png");
}

void Listen(val target, const char* type, const char* handler, bool first) {
    target.call<void>("addEventListener", val(type), val::module_property(handler), val(first));
}

bool Within(const val& node, const val& container) {
    return !node.isNull() && !node.isUndefined() && !container.isUndefined() &&
           container.call<bool>("contains", node);
}

} // namespace numora::web
