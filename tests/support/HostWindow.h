// A fresh headless world per test with a visible top-level window to host the control under test.
#pragma once
#include <gtest/gtest.h>

#include <winport/afx.h>
#include <winport/headless.h>

namespace testsupport {

class HostWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  // Derived fixtures destroy their controls first, then call this.
  void TearDown() override;

  // The client area of wnd as a screenshot shows it once pending paints have run.
  static winport::headless::Image Shot(CWnd& wnd);

  CWnd m_top;
};

// Writes img to the test output folder as <suite>.<test>.<tag>.png, so a failing pixel test
// leaves the picture behind. Returns the path written (empty on failure).
std::string SaveShot(const winport::headless::Image& img, const char* tag);

}  // namespace testsupport
