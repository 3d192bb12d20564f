#include <gtest/gtest.h>

#include "common/datetime.h"
#include "common/error.h"

namespace qarvex {
namespace {

TEST(DateTime, EpochAndKnownDatesEncodeToHostDays) {
  EXPECT_DOUBLE_EQ(EncodeDateTime({1899, 12, 30}), 0.0);
  EXPECT_DOUBLE_EQ(EncodeDateTime({1900, 1, 1}), 2.0);
  EXPECT_DOUBLE_EQ(EncodeDateTime({2024, 1, 31, 12, 0, 0, 0}), 45322.5);
}

TEST(DateTime, DecodeInvertsEncodeToTheMillisecond) {
  const LocalDateTime samples[] = {
      {2024, 1, 31, 10, 20, 30, 0}, {2024, 2, 29, 23, 59, 59, 999},
      {2000, 12, 31, 0, 0, 0, 1},   {1899, 12, 29, 6, 0, 0, 0},
      {9999, 12, 31, 23, 59, 59, 999}};
  for (const auto& t : samples) EXPECT_EQ(DecodeDateTime(EncodeDateTime(t)), t);
}

TEST(DateTime, ImpossibleDatesAndTimesAreRefused) {
  EXPECT_THROW(EncodeDateTime({2023, 2, 29}), Failure);
  EXPECT_THROW(EncodeDateTime({2024, 13, 1}), Failure);
  EXPECT_THROW(EncodeDateTime({2024, 4, 31}), Failure);
  EXPECT_THROW(EncodeDateTime({2024, 1, 1, 24, 0, 0}), Failure);
  EXPECT_THROW(EncodeDateTime({0, 1, 1}), Failure);
  EXPECT_NO_THROW(EncodeDateTime({2000, 2, 29}));
}

}  // namespace
}  // namespace qarvex
