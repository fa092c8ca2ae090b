#include "support/HostWindow.h"

#include <filesystem>
#include <string>

namespace testsupport {

namespace hl = winport::headless;

void HostWindowTest::SetUp() {
  hl::Reset();
  ASSERT_TRUE(m_top.CreateEx(0, AfxRegisterWndClass(0), L"top", WS_POPUP | WS_VISIBLE, CRect(0, 0, 640, 480), nullptr, 0));
}

void HostWindowTest::TearDown() {
  if (m_top.GetSafeHwnd()) m_top.DestroyWindow();
}

hl::Image HostWindowTest::Shot(CWnd& wnd) {
  hl::Pump();
  return hl::Capture(wnd.GetSafeHwnd());
}

std::string SaveShot(const hl::Image& img, const char* tag) {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "shot";
  for (char& c : name)
    if (c == '/') c = '_';
  std::error_code ec;
  std::filesystem::create_directories(PARVANEU_TEST_OUTPUT_DIR, ec);
  const std::string path = std::string(PARVANEU_TEST_OUTPUT_DIR) + "/" + name + "." + (tag ? tag : "shot") + ".png";
  return hl::SavePng(img, path.c_str()) ? path : std::string();
}

}  // namespace testsupport
