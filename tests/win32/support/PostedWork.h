#pragma once

#include <windows.h>

#include <functional>

namespace zeltra::testing {

// A message-only window of the test thread that runs a piece of work when a
// message posted to it is dispatched: the test's way to act at the moment
// the plug-in lets pending messages run.
class PostedWork {
 public:
  PostedWork();
  ~PostedWork();
  PostedWork(const PostedWork&) = delete;
  PostedWork& operator=(const PostedWork&) = delete;

  // Posts work; it runs when some message loop dispatches it.
  void Post(std::function<void()> work);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  std::function<void()> work_;
};

}  // namespace zeltra::testing
