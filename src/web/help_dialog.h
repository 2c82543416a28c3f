// How to play (玩法), as the desktop's help window: over the board while the game goes on
// falling, with the rest of the page shut until it is closed.
#pragma once

#include <emscripten/val.h>

namespace numora::web {

class HelpDialog {
  public:
    void Build(const emscripten::val& parent);
    // Over the game at the desktop's place for it, `left` and `top` being the game's corner.
    void Open(int left, int top);
    void Close();
    bool open() const;

  private:
    emscripten::val dialog_ = emscripten::val::undefined();
};

} // namespace numora::web
