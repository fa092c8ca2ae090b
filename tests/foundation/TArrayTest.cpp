#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "foundation/TArray.h"

namespace {

TEST(TArrayGrowth, AutomaticStepIsAnEighthBetweenFourAnd1024) {
  for (auto [full, expected] : {std::pair{40, 45}, {16, 20}, {20000, 21024}}) {
    CTArray<int> a;
    a.SetSize(full, -1);
    ASSERT_EQ(a.GetMaxSize(), full);
    a.Add(7);
    EXPECT_EQ(a.GetMaxSize(), expected) << "full array of " << full;
    EXPECT_EQ(a.GetSize(), full + 1);
    EXPECT_EQ(a[full], 7);
  }
}

TEST(TArrayGrowth, ShrinkKeepsCapacityAndRegrowZeroFills) {
  CTArray<int> a;
  for (int i = 0; i < 10; ++i) a.Add(i + 1);
  const int cap = a.GetMaxSize();
  a.SetSize(3);
  EXPECT_EQ(a.GetMaxSize(), cap);
  a.SetSize(8);
  EXPECT_EQ(a[2], 3);
  for (int i = 3; i < 8; ++i) EXPECT_EQ(a[i], 0) << i;
  a.FreeExtra();
  EXPECT_EQ(a.GetMaxSize(), 8);
  a.RemoveAll();
  EXPECT_EQ(a.GetData(), nullptr);
  EXPECT_EQ(a.GetMaxSize(), 0);
}

TEST(TArrayEdit, InsertBeyondEndLeavesZeroGap) {
  CTArray<int> a;
  a.Add(1);
  a.InsertAt(4, 9, 2);
  ASSERT_EQ(a.GetSize(), 6);
  EXPECT_EQ(a[0], 1);
  EXPECT_EQ(a[1], 0);
  EXPECT_EQ(a[3], 0);
  EXPECT_EQ(a[4], 9);
  EXPECT_EQ(a[5], 9);
}

TEST(TArrayEdit, InsertInsideMovesTailAndArrayInsertCopiesInOrder) {
  CTArray<int> a;
  for (int v : {1, 2, 3}) a.Add(v);
  a.InsertAt(1, 8, 2);
  EXPECT_EQ((std::vector<int>(a.GetData(), a.GetData() + a.GetSize())), (std::vector<int>{1, 8, 8, 2, 3}));
  CTArray<int> b;
  for (int v : {5, 6}) b.Add(v);
  a.InsertAt(0, &b);
  EXPECT_EQ((std::vector<int>(a.GetData(), a.GetData() + a.GetSize())), (std::vector<int>{5, 6, 1, 8, 8, 2, 3}));
  a.InsertAt(1, &a);  // inserting an array into itself reads a snapshot
  EXPECT_EQ(a.GetSize(), 14);
  EXPECT_EQ(a[1], 5);
  EXPECT_EQ(a[7], 3);
  EXPECT_EQ(a[8], 6);
}

TEST(TArrayEdit, RemoveAtKeepsStorageAndClampsRuns) {
  CTArray<int> a;
  for (int v : {1, 2, 3, 4, 5}) a.Add(v);
  const int cap = a.GetMaxSize();
  a.RemoveAt(1, 2);
  EXPECT_EQ((std::vector<int>(a.GetData(), a.GetData() + a.GetSize())), (std::vector<int>{1, 4, 5}));
  EXPECT_EQ(a.GetMaxSize(), cap);
  a.RemoveAt(2, 100);  // a run past the end removes up to the end only
  EXPECT_EQ(a.GetSize(), 2);
  a.RemoveAt(-1, 1);
  a.RemoveAt(5, 1);
  EXPECT_EQ(a.GetSize(), 2);
}

TEST(TArrayCopy, CopyAssignAppendSwapAreIndependent) {
  CTArray<int> a;
  for (int v : {1, 2, 3}) a.Add(v);
  CTArray<int> b = a;
  b[0] = 99;
  EXPECT_EQ(a[0], 1);
  EXPECT_NE(a.GetData(), b.GetData());
  EXPECT_EQ(b.Append(a), 3);
  EXPECT_EQ(b.GetSize(), 6);
  EXPECT_EQ(b[5], 3);
  a.Append(a);
  EXPECT_EQ(a.GetSize(), 6);
  EXPECT_EQ(a[4], 2);
  CArray<int, int&> fw;
  int four = 4, five = 5;
  fw.Add(four);
  fw.Add(five);
  a.Copy(fw);
  EXPECT_EQ(a.GetSize(), 2);
  EXPECT_EQ(a[1], 5);
  a.Swap(b);
  EXPECT_EQ(a.GetSize(), 6);
  EXPECT_EQ(b.GetSize(), 2);
  const CTArray<int>& alias = a;
  a = alias;  // self-assignment keeps the contents
  EXPECT_EQ(a[0], 99);
}

// Counts from a caller that cannot be honoured leave the array as it was: no write outside the
// storage, no wrapped size.
TEST(TArrayLimits, RefusedInsertsAndGrowthChangeNothing) {
  CTArray<int> a;
  for (int v : {1, 2, 3}) a.Add(v);
  CTArray<int> b;
  for (int v : {7, 8}) b.Add(v);
  const auto contents = [&] { return std::vector<int>(a.GetData(), a.GetData() + a.GetSize()); };
  a.InsertAt(-2, &b);  // refused by the element form; the copy must not run either
  a.InsertAt(-1, 5, 1);
  a.InsertAt(INT_MAX, 5, 1);
  a.InsertAt(2, 5, INT_MAX);
  a.InsertAt(INT_MAX - 1, &b);
  a.SetAtGrow(INT_MAX, 5);
  EXPECT_EQ(contents(), (std::vector<int>{1, 2, 3}));
}

TEST(TArrayLimits, HugeGrowStepSaturatesTheCapacity) {
  CTArray<char> a;
  a.SetSize(1, INT_MAX);
  a[0] = 'x';
  a.SetSize(2);  // capacity 1 + INT_MAX does not fit an int
  ASSERT_EQ(a.GetSize(), 2);
  EXPECT_GE(a.GetMaxSize(), 2);
  EXPECT_EQ(a[0], 'x');
  EXPECT_EQ(a[1], 0);
}

}  // namespace
