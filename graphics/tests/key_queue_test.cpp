// The 32-byte key queue, KeyPressed/ReadKey and GetAsyncKeyState in the
// headless mode.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics.h"
#include "graphics_headless.h"

namespace {

class KeyQueue : public testing::Test {
 protected:
  void SetUp() override {
    headless::Enable();
    InitGraph(kPaletteDriver, kMode640x480, "keys");
  }
  void TearDown() override {
    CloseGraph();
    headless::Disable();
  }

  static std::vector<int> DrainQueue() {
    std::vector<int> bytes;
    while (KeyPressed()) bytes.push_back(ReadKey());
    return bytes;
  }
};

enum class Step { kKey, kExtendedKey, kTakeByte };

struct Action {
  Step step;
  unsigned char code;
};

struct OverflowCase {
  const char* name;
  std::vector<Action> actions;
  std::vector<int> remaining;  // the queue read out afterwards
};

std::vector<Action> Keys(int first, int last) {
  std::vector<Action> actions;
  for (int code = first; code <= last; ++code) {
    actions.push_back({Step::kKey, static_cast<unsigned char>(code)});
  }
  return actions;
}

std::vector<Action> Join(std::vector<std::vector<Action>> parts) {
  std::vector<Action> joined;
  for (auto& part : parts) joined.insert(joined.end(), part.begin(), part.end());
  return joined;
}

std::vector<int> Range(int first, int last) {
  std::vector<int> values;
  for (int value = first; value <= last; ++value) values.push_back(value);
  return values;
}

std::vector<int> Concat(std::vector<int> front, const std::vector<int>& back) {
  front.insert(front.end(), back.begin(), back.end());
  return front;
}

// `count` extended keys with the same code, as the queue holds them.
std::vector<int> ExtendedBytes(int count, int code) {
  std::vector<int> bytes;
  for (int i = 0; i < count; ++i) bytes.insert(bytes.end(), {0, code});
  return bytes;
}

const Action kUpArrow{Step::kExtendedKey, 72};

std::vector<OverflowCase> OverflowCases() {
  return {
      {"ExactlyFullKeepsAll", Keys(1, 32), Range(1, 32)},
      {"OneMoreDropsOldestByte", Keys(1, 33), Range(2, 33)},
      {"ByteAfterPairDropsWholePair", Join({{kUpArrow}, Keys(1, 31)}), Range(1, 31)},
      {"PairIntoFullQueueDropsTwoBytes", Join({Keys(1, 32), {kUpArrow}}),
       Concat(Range(3, 32), {0, 72})},
      {"PairIntoQueueOfPairsDropsOnePair",
       Join({std::vector<Action>(16, Action{Step::kExtendedKey, 80}), {kUpArrow}}),
       Concat(ExtendedBytes(15, 80), {0, 72})},
      // After the 0 of a pair was read, its code byte is a key of its own.
      {"HalfReadPairDropsOnlyItsCode",
       Join({{kUpArrow}, Keys(1, 30), {{Step::kTakeByte, 0}}, Keys(31, 32)}), Range(1, 32)},
      {"PairNeedingTwoSlotsDropsPairAndByte",
       Join({Keys(1, 1), {kUpArrow}, Keys(2, 30), {Action{Step::kExtendedKey, 75}}}),
       Concat(Range(2, 30), {0, 75})},
  };
}

TEST_F(KeyQueue, OverflowDropsOldestWholeKeys) {
  for (const OverflowCase& overflow : OverflowCases()) {
    SCOPED_TRACE(overflow.name);
    for (const Action& action : overflow.actions) {
      switch (action.step) {
        case Step::kKey:
          headless::TypeKey(action.code);
          break;
        case Step::kExtendedKey:
          headless::TypeExtendedKey(action.code);
          break;
        case Step::kTakeByte:
          ReadKey();
          break;
      }
    }
    EXPECT_EQ(DrainQueue(), overflow.remaining);
  }
}

TEST_F(KeyQueue, KeyPressedNeitherWaitsNorTakes) {
  EXPECT_FALSE(KeyPressed());
  headless::TypeExtendedKey(77);
  EXPECT_TRUE(KeyPressed());
  EXPECT_TRUE(KeyPressed());
  EXPECT_EQ(ReadKey(), 0);
  EXPECT_TRUE(KeyPressed());
  EXPECT_EQ(ReadKey(), 77);
  EXPECT_FALSE(KeyPressed());
}

TEST_F(KeyQueue, CloseButtonQueuesExtended107) {
  headless::PressCloseButton();
  EXPECT_EQ(DrainQueue(), (std::vector<int>{0, 107}));
}

TEST_F(KeyQueue, InitGraphStartsWithEmptyInput) {
  headless::TypeKey('x');
  headless::HoldKey(VK_LEFT, true);
  headless::MoveMouse(10, 20, kMouseLeft);
  InitGraph(kPaletteDriver, kMode800x600, "again");
  EXPECT_FALSE(KeyPressed());
  EXPECT_EQ(GetAsyncKeyState(VK_LEFT), 0);
  EXPECT_EQ(GetMouseX(), 0);
  EXPECT_EQ(GetMouseY(), 0);
  EXPECT_EQ(GetMouseButtonState(), 0);
}

using KeyQueueDeathTest = KeyQueue;

TEST_F(KeyQueueDeathTest, ReadKeyOnEmptyQueueIsAScriptingError) {
  EXPECT_DEATH(ReadKey(), "headless: ReadKey on an empty key queue");
}

TEST_F(KeyQueue, AsyncKeyStateIsNegativeExactlyWhileHeld) {
  const int keys[] = {VK_RETURN, VK_ESCAPE, VK_SPACE, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, 'A'};
  for (const int key : keys) {
    SCOPED_TRACE(key);
    EXPECT_EQ(GetAsyncKeyState(key), 0);
    headless::HoldKey(key, true);
    EXPECT_LT(GetAsyncKeyState(key), 0);
    for (const int other : keys) {
      if (other != key) {
        EXPECT_EQ(GetAsyncKeyState(other), 0) << other;
      }
    }
    headless::HoldKey(key, false);
    EXPECT_EQ(GetAsyncKeyState(key), 0);
  }
}

TEST_F(KeyQueue, AsyncKeyStateOfUnknownCodesIsUp) {
  headless::HoldKey(-1, true);
  headless::HoldKey(256, true);
  EXPECT_EQ(GetAsyncKeyState(-1), 0);
  EXPECT_EQ(GetAsyncKeyState(256), 0);
  EXPECT_EQ(GetAsyncKeyState(100000), 0);
}

}  // namespace
