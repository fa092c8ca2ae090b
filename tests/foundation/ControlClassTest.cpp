// A control's first Create may come from two threads at once: both must get the one class.
#include <gtest/gtest.h>

#include <thread>

#include "foundation/ControlClass.h"

TEST(ControlClass, TwoThreadsRegisterOneClass) {
  CControlClass cls(CS_DBLCLKS | CS_VREDRAW, IDC_ARROW);
  LPCWSTR a = nullptr, b = nullptr;
  std::thread first([&] { a = cls.Name(); });
  std::thread second([&] { b = cls.Name(); });
  first.join();
  second.join();
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a, cls.Name());
  WNDCLASSW wc{};
  ASSERT_TRUE(GetClassInfoW(nullptr, a, &wc));
  EXPECT_EQ(wc.style, static_cast<UINT>(CS_DBLCLKS | CS_VREDRAW));
  EXPECT_EQ(wc.hCursor, LoadCursorW(nullptr, IDC_ARROW));
  EXPECT_EQ(wc.hbrBackground, nullptr);
}
