#include "web/timer.h"

#include <emscripten/eventloop.h>

namespace numora::web {

void Timer::Start(int ms, bool repeating) {
    Stop();
    ms_ = ms;
    repeating_ = repeating;
    Arm();
}

void Timer::Arm() {
    id_ = repeating_ ? emscripten_set_interval(&Timer::Expired, ms_, this)
                     : emscripten_set_timeout(&Timer::Expired, ms_, this);
    active_ = true;
}

void Timer::Stop() {
    if (!active_) return;
    if (repeating_)
        emscripten_clear_interval(id_);
    else
        emscripten_clear_timeout(id_);
    active_ = false;
}

bool Timer::Fire() {
    if (!active_) return false;
    Stop();
    if (repeating_) Arm();
    expired_();
    return true;
}

void Timer::Expired(void* self) {
    auto* timer = static_cast<Timer*>(self);
    if (!timer->repeating_) timer->active_ = false;
    timer->expired_();
}

} // namespace numora::web
