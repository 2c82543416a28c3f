#include "web/help_dialog.h"

#include "web/dom.h"

namespace numora::web {

namespace {

// The desktop's help text word for word; its paragraphs part at the blank line.
constexpr const char* kHelpText =
    "游戏目的：帮助儿童提高口算能力。\n\n"
    "游戏方法：类似落砖棋的玩法，计算下落方块的得数，使用键盘的上下左右箭头调整下落的方块的位"
    "置，使之与得数相等的方块相连，得数相等的相连方块会被消掉，消掉的方块越多，得的分数越高。";

// Where the desktop puts the help window (147, 133 on the screen) from its main window's
// client area (133, 0 on the screen, below its title bar and menu bar).
constexpr int kLeftOfGame = 14;
constexpr int kTopOfGame = 133;

} // namespace

void HelpDialog::Build(const val& parent) {
    // Escape closes a modal dialog too; either way the game takes the keyboard back.
    dialog_ = MakeDialog(parent, "help", "玩法", "numoraHelpClose", "numoraHelpClosed");

    val client = Make("div", dialog_);
    client.set("className", "client help");
    val text = Make("p", client);
    Place(text, 16, 24, 313, 217);
    SetText(text, kHelpText);
}

void HelpDialog::Open(int left, int top) {
    if (open()) return;
    Move(dialog_, left + kLeftOfGame, top + kTopOfGame);
    dialog_.call<void>("showModal");
}

void HelpDialog::Close() {
    if (open()) dialog_.call<void>("close");
}

bool HelpDialog::open() const {
    return dialog_["open"].as<bool>();
}

} // namespace numora::web
