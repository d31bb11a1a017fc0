#pragma once

#include <httplib.h>

#include <cstddef>
#include <functional>

#include "tools/robot/ConnectionWatch.h"

namespace zeltra::robot {

// The library's bounded pool of threads, with each connection it is given
// put under the watch from the moment it was accepted until it is closed.
class WatchedPool : public httplib::TaskQueue {
 public:
  WatchedPool(std::size_t threads, ConnectionWatch& watch) : watch_(watch), pool_(threads) {}

  // Called on the accepting thread with the connection just accepted.
  void enqueue(std::function<void()> serve) override {
    const ConnectionWatch::Token token = watch_.Begin();
    pool_.enqueue([this, token, serve = std::move(serve)] {
      serve();
      watch_.End(token);
    });
  }
  void shutdown() override { pool_.shutdown(); }

 private:
  ConnectionWatch& watch_;
  httplib::ThreadPool pool_;
};

}  // namespace zeltra::robot
