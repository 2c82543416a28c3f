// The top-ten list shown at a game's end, as the desktop's leaderboard window: the mode's
// list from the browser's storage, a name asked for a score that earns a place, and what
// went wrong said in the dialog. It opens beside the game, which goes on meanwhile.
#pragma once

#include "web/leaderboard_list.h"
#include "web/sound_service.h"

#include <emscripten/val.h>

#include <array>
#include <functional>
#include <vector>

namespace numora::web {

class LeaderboardDialog {
  public:
    // `closed` runs when the player is done with it, to hand the keyboard back to the game.
    LeaderboardDialog(SoundService& sound, std::function<void()> closed);
    void Build(const emscripten::val& parent);

    // `takeKeyboard`: false when the player has just started another game, who must not find
    // the arrows typing into the name box.
    void ShowFor(int mode, std::int64_t score, bool takeKeyboard);
    void Confirm();
    void Close();
    void MessageRead();
    void Closed(); // the dialog has closed, however
    bool Contains(const emscripten::val& node) const;

  private:
    void ShowList(bool read);
    void SetOffering(bool offering);
    void Say(const std::string& text, bool takeKeyboard = true);

    SoundService& sound_;
    std::function<void()> closed_;
    emscripten::val dialog_ = emscripten::val::undefined();
    emscripten::val heading_ = emscripten::val::undefined();
    emscripten::val nameBox_ = emscripten::val::undefined();
    emscripten::val confirmButton_ = emscripten::val::undefined();
    emscripten::val message_ = emscripten::val::undefined();
    emscripten::val messageText_ = emscripten::val::undefined();
    emscripten::val messageOk_ = emscripten::val::undefined();
    std::vector<emscripten::val> nameLabels_;
    std::vector<emscripten::val> scoreLabels_;

    int mode_ = 1;
    std::int64_t score_ = 0;
    StoredList list_{};
    int offeredPlace_ = -1;
};

} // namespace numora::web
