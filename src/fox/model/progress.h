// Progress of a long step of the model, for the front end to show: Begin with
// what is done and how many steps, Step with the steps done, End. Any member
// may be left empty.
#pragma once

#include <functional>

#include "config/messages.h"

namespace vemlo {

struct TxxProgressSink {
  std::function<void(MsgId what, int total)> Begin;
  std::function<void(int done)> Step;
  std::function<void()> End;
};

// Begins on construction when asked to, and ends on every path out.
class TxxProgressScope {
 public:
  TxxProgressScope(const TxxProgressSink& sink, bool show, MsgId what, int total)
      : sink_(show ? &sink : nullptr) {
    if (sink_ && sink_->Begin) sink_->Begin(what, total);
  }
  ~TxxProgressScope() {
    if (sink_ && sink_->End) sink_->End();
  }
  TxxProgressScope(const TxxProgressScope&) = delete;
  TxxProgressScope& operator=(const TxxProgressScope&) = delete;
  bool Shown() const { return sink_ != nullptr; }
  void Step(int done) const {
    if (sink_ && sink_->Step) sink_->Step(done);
  }

 private:
  const TxxProgressSink* sink_;
};

}  // namespace vemlo
