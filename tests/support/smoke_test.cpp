#include <gtest/gtest.h>

#include "report/number_format.h"

TEST(Smoke, Builds) { EXPECT_EQ(vormel::TRIM(3), "3"); }
