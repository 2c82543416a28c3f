// The page: the banner, the board and the menus in the browser, as the desktop's main window
// is in widgets. It forwards every event to the game and then shows the game's state; it
// decides no rule itself.
#pragma once

#include "game/game.h"
#include "game/view_mirror.h"
#include "web/help_dialog.h"
#include "web/leaderboard_dialog.h"
#include "web/menu_bar.h"
#include "web/sound_service.h"
#include "web/timer.h"

#include <emscripten/val.h>

#include <array>
#include <string>
#include <vector>

namespace numora::web {

class Page final : private GameEvents {
  public:
    Page();
    // Makes the page's elements in the document's body and starts keeping the site offline.
    void Build();

    // What the player does, as the menus, keys, taps and timers report it.
    void ChooseMode(int mode);     // 1..5, a "开始" item: a new game
    void ChooseLevel(int level);   // 1..3, a "级别设置" item
    void ChooseAnimation(bool on); // "有" or "无"
    void OpenHelp();
    void PressArrow(Arrow arrow);
    // A tap or a click at (x, y) of the client area (the banner's top left is 0, 0).
    void Tap(int x, int y);

    // The browser's events, as the bindings hand them on.
    void MenuChosen(const std::string& id);
    void KeyDown(const emscripten::val& event);
    void BoardPointerDown(const emscripten::val& event);
    void PointerDownAnywhere(const emscripten::val& event);
    void HelpClosed();
    MenuBar& menuBar() { return menus_; }
    HelpDialog& help() { return help_; }
    LeaderboardDialog& leaderboard() { return leaderboard_; }

    // For the test build: the game, a situation to play on from, and the timers the page
    // arms for the game.
    const Game& game() const { return game_; }
    void SetUp(const Situation& situation);
    Timer& gravityTimer() { return gravityTimer_; }
    Timer& animationTimer() { return animationTimer_; }
    Timer& waitTimer() { return waitTimer_; }

  private:
    void PlaySound(Sound sound) override;
    void HandOverScore(int mode, std::int64_t score) override;

    void BuildGame(const emscripten::val& parent);
    void FocusGame();
    // Makes every element, check mark and timer show the game's state.
    void Sync();
    void SyncTimer(Timer& timer, const TimerState& state, TimerFollower& follower);
    void SyncWait();
    void SyncFigure();
    void GravityTick();
    void AnimationTick();
    void WaitOver();

    SeededRandom random_;
    Game game_;
    SoundService sound_;
    MenuBar menus_;
    HelpDialog help_;
    LeaderboardDialog leaderboard_;

    emscripten::val client_ = emscripten::val::undefined();
    emscripten::val splash_ = emscripten::val::undefined();
    emscripten::val score_ = emscripten::val::undefined();
    emscripten::val walkingFigure_ = emscripten::val::undefined();
    emscripten::val bannerFigure_ = emscripten::val::undefined();
    std::vector<emscripten::val> previewCells_;
    std::vector<emscripten::val> fallingCells_;
    std::vector<emscripten::val> boardCells_;

    Timer gravityTimer_;
    Timer animationTimer_;
    Timer waitTimer_;
    TimerFollower gravityFollower_;
    TimerFollower animationFollower_;
    WaitFollower waitFollower_;

    std::array<ShownCell, kCellCount> shown_{}; // what each board cell shows now
    std::array<std::string, 2> shownFalling_;
    std::array<std::string, 2> shownPreview_;
    std::string shownScore_;
    bool startingGame_ = false; // inside ChooseMode
    FigureFrame shownWalking_;
    int shownBannerSet_ = -1;
};

// The page of this document, made at the first call.
Page& CurrentPage();

} // namespace numora::web
