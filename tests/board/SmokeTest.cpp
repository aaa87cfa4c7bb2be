#include <gtest/gtest.h>
#include "board/BoardTestSupport.h"
TEST(Smoke, Start) {
  EnsureBoardTables();
  EXPECT_EQ(SetUpOutput(StartFEN), "");
  EXPECT_EQ(GetFEN(), StartFEN);
  EXPECT_EQ(SideKey, 0x925FCB829F39975Cull);
}
