// A browser timer as the view's QTimer: single-shot or repeating, restarted by Start, and
// fired at once by Fire as its expiry would (for the test build's hooks).
#pragma once

#include <functional>

namespace numora::web {

class Timer {
  public:
    explicit Timer(std::function<void()> expired) : expired_(std::move(expired)) {}
    ~Timer() { Stop(); }
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void Start(int ms, bool repeating);
    void Stop();
    bool active() const { return active_; }
    int interval() const { return ms_; }
    // What the expiry does, now: a repeating timer counts its interval again from here, a
    // single-shot one is spent. False, and nothing done, when it is not running.
    bool Fire();

  private:
    static void Expired(void* self);
    void Arm();

    std::function<void()> expired_;
    long id_ = 0;
    bool active_ = false;
    bool repeating_ = false;
    int ms_ = 0;
};

} // namespace numora::web
