// The desktop's four menus as an ARIA menu bar: titles that open menus, items that are
// radio items carrying the check marks, driven by the mouse, a finger or the keyboard.
#pragma once

#include <emscripten/val.h>

#include <functional>
#include <string>
#include <vector>

namespace numora::web {

class MenuBar {
  public:
    // `chosen` gets the id of the item chosen ("b1_2", "j1", "dhy", "Mhow", ...); `dismissed`
    // runs when a click shuts the open menu with no choice, to hand the keyboard back.
    MenuBar(std::function<void(const std::string&)> chosen, std::function<void()> dismissed);
    void Build(const emscripten::val& parent);
    void SetChecked(const std::string& id, bool checked);

    void Clicked(const emscripten::val& event);
    void PointerOver(const emscripten::val& event);
    // Keys while the focus is in the menu bar; true when the key was the menus'.
    bool KeyDown(const emscripten::val& event);
    // A press anywhere: one outside the menus closes an open menu; true when it did.
    bool PointerDownAnywhere(const emscripten::val& event);
    bool Contains(const emscripten::val& node) const;

  private:
    struct Menu {
        emscripten::val title;
        emscripten::val popup;
        std::vector<emscripten::val> items;
    };
    void Open(int menu, int focusItem); // focusItem -1: the title keeps the focus
    void CloseMenus();
    void Choose(const emscripten::val& item);
    int MenuOfTitle(const emscripten::val& node) const;
    // The open menu and the index of the focused item in it, or -1.
    int FocusedItem(int menu, const emscripten::val& node) const;

    std::function<void(const std::string&)> chosen_;
    std::function<void()> dismissed_;
    emscripten::val bar_ = emscripten::val::undefined();
    std::vector<Menu> menus_;
    int open_ = -1;
};

} // namespace numora::web
