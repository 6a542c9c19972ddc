// A fixture for window-system tests: recording window classes and windows destroyed after each test.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/headless.h"
#include "platform/window.h"

class WindowTest : public testing::Test {
public:
  static std::vector<Message> log;  // every message the recording classes received

protected:
  void SetUp() override;
  void TearDown() override;
  // A shown window of a recording class: "Recorder", "DoubleClicker" or "NoActivate".
  HWindow make(const char* className, int x, int y, int width, int height, HWindow owner = nullptr,
               bool topmost = false);
  // Dispatch every queued message.
  void pump();
  int count(Msg msg, HWindow window = nullptr) const;
  Message first(Msg msg) const;

  std::vector<HWindow> windows;
};
