#include <gtest/gtest.h>

#include <winport/afx.h>

namespace {

TEST(CStringFormat, DesktopFormatStringsWorkUnchanged) {
  CString s;
  s.Format(L"%5.1f %s", -3.25, L"dBFS");  // %s is a wide string on the desktop
  EXPECT_EQ(s, L" -3.2 dBFS");
  s.Format(L"%c|%S|%d%%", L'x', "narrow", 42);  // %S narrow, %% literal
  EXPECT_EQ(s, L"x|narrow|42%");
  s.Format(L"%ls/%hs/%I64d", L"wide", "ascii", static_cast<long long>(1) << 40);
  EXPECT_EQ(s, L"wide/ascii/1099511627776");
  s.Format(L" %d", 0);
  EXPECT_EQ(s, L" 0");
  s.AppendFormat(L"%s", L"+");
  EXPECT_EQ(s, L" 0+");
  CString longText;
  longText.Format(L"%s%s", std::wstring(300, L'a').c_str(), std::wstring(300, L'b').c_str());
  EXPECT_EQ(longText.GetLength(), 600);
  s.Format(nullptr);
  EXPECT_TRUE(s.IsEmpty());
}

TEST(CStringEdit, SlicingSearchingAndUtf8) {
  CString s(L"Peak: -6.0 dB");
  EXPECT_EQ(s.Left(4), L"Peak");
  EXPECT_EQ(s.Right(2), L"dB");
  EXPECT_EQ(s.Mid(6, 4), L"-6.0");
  EXPECT_EQ(s.Mid(100), L"");
  EXPECT_EQ(s.Left(-3), L"");
  EXPECT_EQ(s.Find(L"dB"), 11);
  EXPECT_EQ(s.Find(L'x'), -1);
  EXPECT_EQ(s.ReverseFind(L' '), 10);
  EXPECT_EQ(s.Replace(L" ", L"_"), 2);
  EXPECT_EQ(s.CompareNoCase(L"PEAK:_-6.0_DB"), 0);
  const CString infinity = CString::FromUtf8("-\xE2\x88\x9E \xE5\xAE\x8B");
  EXPECT_EQ(infinity, L"-\u221E \u5B8B");
  EXPECT_EQ(infinity.ToUtf8(), "-\xE2\x88\x9E \xE5\xAE\x8B");
  LPWSTR buf = s.GetBuffer(32);
  buf[0] = L'Q';
  buf[1] = L'\0';
  s.ReleaseBuffer();
  EXPECT_EQ(s, L"Q");
}

TEST(FrameworkArray, IndexOutOfRangeRaisesInvalidArgument) {
  CArray<int> a;
  a.Add(1);
  a.SetAtGrow(3, 4);
  EXPECT_EQ(a.GetSize(), 4);
  EXPECT_EQ(a[2], 0);
  EXPECT_THROW(a.GetAt(4), CInvalidArgException);
  EXPECT_THROW(a.ElementAt(-1), CInvalidArgException);
  EXPECT_THROW(a.RemoveAt(3, 2), CInvalidArgException);
  a.InsertAt(1, 9, 2);
  EXPECT_EQ(a.GetSize(), 6);
  EXPECT_EQ(a[2], 9);
  CStringArray names;
  names.Add(L"a");
  EXPECT_EQ(names[0], L"a");
}

TEST(WindowApiArithmetic, MulDivRoundsHalfAwayFromZeroAndRefusesZero) {
  EXPECT_EQ(MulDiv(8, 96, 72), 11);  // an 8-point font at 96 DPI
  EXPECT_EQ(MulDiv(80, 96, 720), 11);
  EXPECT_EQ(MulDiv(3, 1, 2), 2);
  EXPECT_EQ(MulDiv(-3, 1, 2), -2);
  EXPECT_EQ(MulDiv(5, 5, 0), -1);
  EXPECT_EQ(MulDiv(0x7FFFFFFF, 4, 2), -1);  // overflow reported, not wrapped
}

TEST(Rectangles, EmptyResultsAreZeroedAndPointsAreHalfOpen) {
  RECT out{9, 9, 9, 9};
  const RECT a{0, 0, 10, 10}, b{10, 0, 20, 10};
  EXPECT_FALSE(IntersectRect(&out, &a, &b));
  EXPECT_TRUE(CRect(out).IsRectNull());
  EXPECT_TRUE(PtInRect(&a, POINT{0, 0}));
  EXPECT_FALSE(PtInRect(&a, POINT{10, 5}));
  CRect u;
  u.UnionRect(&a, &b);
  EXPECT_EQ(u, CRect(0, 0, 20, 10));
  CRect inverted(10, 10, 0, 0);
  EXPECT_TRUE(inverted.IsRectEmpty());
  inverted.NormalizeRect();
  EXPECT_EQ(inverted, CRect(0, 0, 10, 10));
  EXPECT_EQ(GET_X_LPARAM(MAKELPARAM(static_cast<WORD>(-5), 7)), -5);
  EXPECT_FALSE(IntersectRect(nullptr, &a, &b));
}

TEST(DebugOutput, HookSeesEveryLine) {
  std::wstring seen;
  auto previous = winport::SetDebugOutputHook([&](std::wstring_view line) { seen += line; });
  OutputDebugStringW(L"trace line");
  OutputDebugStringW(nullptr);
  winport::SetDebugOutputHook(previous);
  OutputDebugStringW(L"after");
  EXPECT_EQ(seen, L"trace line");
}

TEST(WinportCheck, ADebugBuildStopsAtABrokenInvariantWithItsReasonAndReleaseDoesNotLook) {
  int looked = 0;
  const auto holds = [&] { return ++looked > 0; };
  WINPORT_CHECK(holds(), "a check that holds lets the program go on");
  winport::Surface surface(4, 3);
  EXPECT_NE(surface.Row(2), nullptr);
#ifdef NDEBUG
  EXPECT_EQ(looked, 0);  // not evaluated, so release behaviour is what it was
#else
  EXPECT_EQ(looked, 1);
  EXPECT_DEATH((void)surface.Row(3), "check failed: callers clip to the surface before taking a row \\(y >= 0");
#endif
}

}  // namespace
