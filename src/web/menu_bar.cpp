#include "web/menu_bar.h"

#include "web/dom.h"

namespace numora::web {

namespace {

struct ItemText {
    const char* id;
    const char* text;
};
struct MenuText {
    const char* id;
    const char* title;
    std::vector<ItemText> items;
    bool radio; // its items carry check marks
};

// The desktop's menus, items and object names.
const std::vector<MenuText>& Menus() {
    static const std::vector<MenuText> menus = {
        {"menuStart",
         "开始",
         {{"b1_1", "演示"},
          {"b1_2", "10以内加法"},
          {"b1_3", "10以内减法"},
          {"b1_4", "20以内加法"},
          {"b1_5", "20以内减法"}},
         true},
        {"menuLevel", "级别设置", {{"j1", "低"}, {"j2", "中"}, {"j3", "高"}}, true},
        {"menuAnimation", "动画", {{"dhy", "有"}, {"dhw", "无"}}, true},
        {"menuHelp", "帮助", {{"Mhow", "玩法"}}, false},
    };
    return menus;
}

void Focus(const val& element) {
    val options = val::object();
    options.set("preventScroll", true);
    element.call<void>("focus", options);
}

} // namespace

MenuBar::MenuBar(std::function<void(const std::string&)> chosen, std::function<void()> dismissed)
    : chosen_(std::move(chosen)), dismissed_(std::move(dismissed)) {}

void MenuBar::Build(const val& parent) {
    bar_ = Make("div", parent, "menubar");
    bar_.call<void>("setAttribute", val("role"), val("menubar"));
    for (const MenuText& text : Menus()) {
        val holder = Make("div", bar_);
        holder.set("className", "menu-holder");
        holder.call<void>("setAttribute", val("role"), val("none"));
        // A title is no button: a button would also act on the key that opens its menu.
        Menu menu{
            Make("div", holder, text.id), Make("div", holder, std::string(text.id) + "Items"), {}};
        menu.title.set("className", "title");
        menu.title.call<void>("setAttribute", val("role"), val("menuitem"));
        menu.title.call<void>("setAttribute", val("aria-haspopup"), val("menu"));
        menu.title.call<void>("setAttribute", val("aria-controls"),
                              val(std::string(text.id) + "Items"));
        menu.title.call<void>("setAttribute", val("aria-expanded"), val("false"));
        // One title in the tab order; the arrows move between them.
        menu.title.set("tabIndex", menus_.empty() ? 0 : -1);
        SetText(menu.title, text.title);
        menu.popup.set("className", "menu");
        menu.popup.call<void>("setAttribute", val("role"), val("menu"));
        menu.popup.call<void>("setAttribute", val("aria-labelledby"), val(text.id));
        SetShown(menu.popup, false);
        for (const ItemText& itemText : text.items) {
            val item = Make("div", menu.popup, itemText.id);
            item.set("className", "item");
            item.call<void>("setAttribute", val("role"),
                            val(text.radio ? "menuitemradio" : "menuitem"));
            if (text.radio) item.call<void>("setAttribute", val("aria-checked"), val("false"));
            item.set("tabIndex", -1);
            SetText(item, itemText.text);
            menu.items.push_back(item);
        }
        menus_.push_back(menu);
    }
    Listen(bar_, "click", "numoraMenuClick");
    Listen(bar_, "pointerover", "numoraMenuPointerOver");
}

void MenuBar::SetChecked(const std::string& id, bool checked) {
    ById(id).call<void>("setAttribute", val("aria-checked"), val(checked ? "true" : "false"));
}

bool MenuBar::Contains(const val& node) const {
    return Within(node, bar_);
}

int MenuBar::MenuOfTitle(const val& node) const {
    for (std::size_t m = 0; m < menus_.size(); ++m)
        if (Within(node, menus_[m].title)) return static_cast<int>(m);
    return -1;
}

int MenuBar::FocusedItem(int menu, const val& node) const {
    if (menu < 0) return -1;
    const auto& items = menus_[static_cast<std::size_t>(menu)].items;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (Within(node, items[i])) return static_cast<int>(i);
    return -1;
}

void MenuBar::Open(int menu, int focusItem) {
    CloseMenus();
    const Menu& m = menus_[static_cast<std::size_t>(menu)];
    open_ = menu;
    SetShown(m.popup, true);
    m.title.call<void>("setAttribute", val("aria-expanded"), val("true"));
    if (focusItem >= 0)
        Focus(m.items[static_cast<std::size_t>(focusItem)]);
    else
        Focus(m.title);
}

void MenuBar::CloseMenus() {
    if (open_ < 0) return;
    const Menu& m = menus_[static_cast<std::size_t>(open_)];
    SetShown(m.popup, false);
    m.title.call<void>("setAttribute", val("aria-expanded"), val("false"));
    open_ = -1;
}

void MenuBar::Choose(const val& item) {
    CloseMenus();
    chosen_(item["id"].as<std::string>());
}

void MenuBar::Clicked(const val& event) {
    const val target = event["target"];
    const int title = MenuOfTitle(target);
    if (title >= 0) {
        if (open_ == title) {
            CloseMenus();
            dismissed_();
        } else
            Open(title, -1);
        return;
    }
    const int item = FocusedItem(open_, target);
    if (item >= 0) Choose(menus_[static_cast<std::size_t>(open_)].items[std::size_t(item)]);
}

// With a menu open, pointing at another title opens that one instead, as menu bars do.
void MenuBar::PointerOver(const val& event) {
    const int title = MenuOfTitle(event["target"]);
    if (open_ >= 0 && title >= 0 && title != open_) Open(title, -1);
}

bool MenuBar::PointerDownAnywhere(const val& event) {
    if (open_ < 0 || Contains(event["target"])) return false;
    CloseMenus();
    return true;
}

bool MenuBar::KeyDown(const val& event) {
    const val target = event["target"];
    if (!Contains(target)) return false;
    const std::string key = event["key"].as<std::string>();
    const int count = static_cast<int>(menus_.size());
    const int title = MenuOfTitle(target);
    const int item = FocusedItem(open_, target);
    const int menu = title >= 0 ? title : open_;
    if (menu < 0) return false;
    const auto& items = menus_[static_cast<std::size_t>(menu)].items;
    const int last = static_cast<int>(items.size()) - 1;

    if (key == "ArrowLeft" || key == "ArrowRight") {
        const int next = (menu + (key == "ArrowLeft" ? count - 1 : 1)) % count;
        if (open_ >= 0) {
            Open(next, item >= 0 ? 0 : -1);
        } else {
            Focus(menus_[static_cast<std::size_t>(next)].title);
        }
    } else if (key == "ArrowDown" || key == "ArrowUp") {
        if (item < 0)
            Open(menu, key == "ArrowDown" ? 0 : last);
        else
            Focus(items[std::size_t(key == "ArrowDown" ? (item == last ? 0 : item + 1)
                                                       : (item == 0 ? last : item - 1))]);
    } else if (key == "Enter" || key == " ") {
        if (item >= 0)
            Choose(items[static_cast<std::size_t>(item)]);
        else
            Open(menu, 0);
    } else if (key == "Escape") {
        // The first shuts the menu and leaves its title with the keyboard, the second hands
        // the keyboard back.
        if (open_ < 0) {
            dismissed_();
            return true;
        }
        CloseMenus();
        Focus(menus_[static_cast<std::size_t>(menu)].title);
    } else if (key == "Tab") {
        CloseMenus();
        return false;
    } else {
        return false;
    }
    return true;
}

} // namespace numora::web
