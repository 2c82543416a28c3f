// The page's handlers of the browser's events, registered by name, so the elements can be
// given them (web/dom.h, Listen) without a line of script.
#include "web/page.h"

#include <emscripten/bind.h>

namespace numora::web {

namespace {

using emscripten::val;

void KeyDown(val event) {
    CurrentPage().KeyDown(event);
}
void PointerDownAnywhere(val event) {
    CurrentPage().PointerDownAnywhere(event);
}
void BoardPointerDown(val event) {
    CurrentPage().BoardPointerDown(event);
}
void MenuClick(val event) {
    CurrentPage().menuBar().Clicked(event);
}
void MenuPointerOver(val event) {
    CurrentPage().menuBar().PointerOver(event);
}
// The game takes the keyboard back at once, not only when the dialog's close event comes.
void HelpClose(val) {
    CurrentPage().help().Close();
    CurrentPage().HelpClosed();
}
void HelpClosed(val) {
    CurrentPage().HelpClosed();
}
void LeaderboardConfirm(val) {
    CurrentPage().leaderboard().Confirm();
}
// Enter in the name box confirms, but not while an input method is still composing.
void NameKeyDown(val event) {
    if (event["key"].as<std::string>() != "Enter" || event["isComposing"].as<bool>()) return;
    event.call<void>("preventDefault");
    CurrentPage().leaderboard().Confirm();
}
void LeaderboardClose(val) {
    CurrentPage().leaderboard().Close();
}
void LeaderboardClosed(val) {
    CurrentPage().leaderboard().Closed();
}
void LeaderboardMessageRead(val) {
    CurrentPage().leaderboard().MessageRead();
}
// The page plays on without its worker; only the offline copy is missing then.
void WorkerRefused(val) {}

} // namespace

EMSCRIPTEN_BINDINGS(numora_page) {
    emscripten::function("numoraKeyDown", &KeyDown);
    emscripten::function("numoraPointerDownAnywhere", &PointerDownAnywhere);
    emscripten::function("numoraBoardPointerDown", &BoardPointerDown);
    emscripten::function("numoraMenuClick", &MenuClick);
    emscripten::function("numoraMenuPointerOver", &MenuPointerOver);
    emscripten::function("numoraHelpClose", &HelpClose);
    emscripten::function("numoraHelpClosed", &HelpClosed);
    emscripten::function("numoraLeaderboardConfirm", &LeaderboardConfirm);
    emscripten::function("numoraNameKeyDown", &NameKeyDown);
    emscripten::function("numoraLeaderboardClose", &LeaderboardClose);
    emscripten::function("numoraLeaderboardClosed", &LeaderboardClosed);
    emscripten::function("numoraLeaderboardMessageRead", &LeaderboardMessageRead);
    emscripten::function("numoraWorkerRefused", &WorkerRefused);
}

} // namespace numora::web
