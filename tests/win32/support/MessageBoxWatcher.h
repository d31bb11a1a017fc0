#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zeltra::testing {

// Dismisses every message box that the given thread shows while the watcher
// lives, as an operator would press OK, and remembers each box's text.
class MessageBoxWatcher {
 public:
  explicit MessageBoxWatcher(DWORD uiThread = GetCurrentThreadId());
  ~MessageBoxWatcher();
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

  std::vector<std::string> texts() const;

 private:
  void Watch();

  DWORD uiThread_;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> texts_;
  std::thread thread_;
};

}  // namespace zeltra::testing
