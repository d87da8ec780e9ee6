// The profiler's walk, which the renderer's report is drawn from: sections in creation order,
// depth first, each left after its children, with their call counts.
#include <gtest/gtest.h>

#include <string>

#include "base/diag.h"

TEST(ProfilerWalk, DepthFirstInCreationOrderWithCounts) {
  static const char* const kA = "A";
  static const char* const kB = "B";
  static const char* const kC = "C";
  profReset();
  profEnter(kA);
  profEnter(kB);
  profLeave();
  profEnter(kC);
  profLeave();
  profLeave();
  profEnter(kA);  // the same section again: counted, not duplicated
  profLeave();

  std::string entered, left;
  profWalk(
      [&](const ProfSectionInfo& s) {
        entered += std::string(s.name) + std::to_string(s.depth) + "x" + std::to_string(s.count) + " ";
      },
      [&](const ProfSectionInfo& s) { left += std::string(s.name) + " "; });
  EXPECT_EQ(entered, "Main0x0 A1x2 B2x1 C2x1 ");
  EXPECT_EQ(left, "B C A Main ");

  // Either callback may be left out.
  int sections = 0;
  profWalk([&](const ProfSectionInfo&) { ++sections; }, nullptr);
  EXPECT_EQ(sections, 4);
  profReset();
}
