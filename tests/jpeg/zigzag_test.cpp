#include <gtest/gtest.h>

#include <vector>

#include "Graphics/JPEGsource/jpgzigzag.h"

namespace Quorvante {
namespace {

// The zigzag walk of an 8 x 8 block: along anti-diagonals, upwards on even diagonals.
std::vector<int> WalkZigzag() {
  std::vector<int> order;
  for (int d = 0; d < 15; ++d) {
    for (int i = 0; i <= d; ++i) {
      const int row = d % 2 == 0 ? d - i : i;
      const int column = d - row;
      if (row < 8 && column < 8) order.push_back(8 * row + column);
    }
  }
  return order;
}

TEST(ZigzagOrder, IsTheDiagonalWalkOfTheBlock) {
  const std::vector<int> expected = WalkZigzag();
  ASSERT_EQ(expected.size(), 64u);
  for (int k = 0; k < 64; ++k) EXPECT_EQ(ZigzagOrder[k], expected[k]) << "position " << k;
}

TEST(ZigzagOrder, StartsAndEndsAsTheStandardSequence) {
  const int start[] = {0, 1, 8, 16, 9, 2, 3, 10, 17, 24};
  const int end[] = {61, 54, 47, 55, 62, 63};
  for (int k = 0; k < 10; ++k) EXPECT_EQ(ZigzagOrder[k], start[k]);
  for (int k = 0; k < 6; ++k) EXPECT_EQ(ZigzagOrder[58 + k], end[k]);
}

}  // namespace
}  // namespace Quorvante
