#pragma once

// A GoogleTest listener that fails every test after which a host object is still referenced through txapi
// (a reference a library or test took and never released) or was released more often than referenced.
// Test executables install it once: static const bool installed = txhost::InstallLeakCheck();

#include "txhost/lib/Object.h"

#include <gtest/gtest.h>

#include <string>

namespace txhost {

class LeakCheckListener : public ::testing::EmptyTestEventListener
{
public:
  void OnTestStart(const ::testing::TestInfo&) override
  {
    // Whatever was held before this test is not its fault.
    MarkHeldObjectsReported();
    TakeOverReleases();
  }

  void OnTestEnd(const ::testing::TestInfo&) override
  {
    const auto held = HeldObjects();
    std::string list;
    for (const HeldObject& h : held)
      list += "\n  #" + std::to_string(h.Id) + " " + h.Kind + " x" + std::to_string(h.Refs) +
              (h.Detached ? " (its host is gone)" : "");
    EXPECT_TRUE(held.empty()) << held.size() << " host objects are still referenced:" << list;
    MarkHeldObjectsReported();
    const int over = TakeOverReleases();
    EXPECT_EQ(over, 0) << "host objects were released more often than referenced";
  }
};

class LeakCheckEnvironment : public ::testing::Environment
{
public:
  void SetUp() override { ::testing::UnitTest::GetInstance()->listeners().Append(new LeakCheckListener); }
};

inline bool InstallLeakCheck()
{
  ::testing::AddGlobalTestEnvironment(new LeakCheckEnvironment);
  return true;
}

} // namespace txhost
