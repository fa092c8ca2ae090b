// A worker that keeps feeding a control while the window thread acts on it (destroys it, most
// often): the race every control fed from another thread must survive, with ThreadSanitizer
// watching in the test command.
#pragma once
#include <atomic>
#include <functional>
#include <thread>

#include <winport/headless.h>

namespace testsupport {

// Runs feed() over and over on a worker. Once it has run `before` times (the window thread pumps
// meanwhile, as a user-interface thread does), calls act() here; once it has run `after` more
// times, stops the worker and joins it.
inline void FeedAcross(const std::function<void()>& feed, const std::function<void()>& act, int before = 20,
                       int after = 20) {
  std::atomic<int> calls{0};
  std::atomic<bool> stop{false};
  std::thread worker([&] {
    while (!stop) {
      feed();
      ++calls;
    }
  });
  while (calls < before) winport::headless::Pump();
  act();
  const int atAct = calls;
  while (calls < atAct + after) std::this_thread::yield();
  stop = true;
  worker.join();
}

}  // namespace testsupport
