// Random numbers: bounds for positive, zero and negative n, a fixed start
// sequence, and a clock seed.

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <vector>

#include "graphics.h"
#include "graphics_headless.h"

namespace {

std::vector<int> Draw(int n, int count) {
  std::vector<int> values;
  for (int i = 0; i < count; ++i) values.push_back(Random(n));
  return values;
}

TEST(Random, StaysInItsRangeAndCoversIt) {
  struct Case {
    int n, low, high;
  };
  const Case cases[] = {{1, 0, 0},   {2, 0, 1},     {7, 0, 6},    {320, 0, 319},
                        {0, 0, 0},   {-1, 0, 0},    {-5, -4, 0},  {-15, -14, 0}};
  for (const Case& c : cases) {
    std::set<int> seen;
    for (int v : Draw(c.n, 5000)) {
      ASSERT_GE(v, c.low) << "n = " << c.n;
      ASSERT_LE(v, c.high) << "n = " << c.n;
      seen.insert(v);
    }
    EXPECT_EQ(int(seen.size()), c.high - c.low + 1) << "n = " << c.n;
  }
  for (int v : Draw(INT_MIN, 1000)) ASSERT_TRUE(v <= 0 && v > INT_MIN);
  for (int v : Draw(INT_MAX, 1000)) ASSERT_TRUE(v >= 0 && v < INT_MAX);
}

TEST(Random, UnseededRunsRepeatAndRandomizeChangesTheSequence) {
  headless::Enable();
  const std::vector<int> first = Draw(1000000, 8);
  headless::Enable();
  EXPECT_EQ(Draw(1000000, 8), first);
  Randomize();
  EXPECT_NE(Draw(1000000, 8), first);
  headless::Disable();
}

}  // namespace
