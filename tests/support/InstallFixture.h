// A private installation for tests: a settings store, an install folder with "Save" and "Port", and a
// data folder named by TOLVANE_DATA. The current directory is put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/headless.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "support/TestSupport.h"

class InstallFixture : public testing::Test {
protected:
  void SetUp() override {
    startDir = currentDirectory();
    regSetStorePath(tmp.file("config/registry.txt"));
    tmp.makeFolder("install/Save");
    tmp.makeFolder("install/Port");
    tmp.makeFolder("data/save");
    setenv("TOLVANE_DATA", tmp.file("data").c_str(), 1);
    headlessSetMessageBoxPolicy(nullptr);
    headlessClearMessageBoxes();
  }
  void TearDown() override {
    setCurrentDirectory(startDir);
    unsetenv("TOLVANE_DATA");
    regSetStorePath("");
  }
  void recordDir(const std::string& dir) {
    RegKey key = regCreateKey(RegRoot::CurrentUser, "Software\\Tolvane 2.5");
    regSetValue(key, "Dir", dir.c_str(), static_cast<uint32_t>(dir.size() + 1));
    regCloseKey(key);
  }
  int messagesWithText(const std::string& text) const {
    int n = 0;
    for (const auto& box : headlessMessageBoxes())
      if (box.text == text) ++n;
    return n;
  }

  TempFolder tmp;
  std::string startDir;
};
