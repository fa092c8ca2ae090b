// What the gallery's pages say to a person: titles and captions in words, not class or
// constant names, and the scroll-bar views named by their skin.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include <winport/afx.h>
#include <winport/headless.h>

#include "tools/gallery/Gallery.h"
#include "tools/gallery/PageFrame.h"

namespace {

void CollectTexts(HWND parent, std::vector<std::string>& out) {
  for (HWND h = ::GetWindow(parent, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
    CString text;
    CWnd::FromHandle(h)->GetWindowText(text);
    if (!text.IsEmpty()) out.push_back(text.ToUtf8());
    CollectTexts(h, out);
  }
}

// Every caption and the title of each page, as a headless run creates them.
std::vector<std::pair<std::string, std::vector<std::string>>> PageTexts() {
  std::vector<std::pair<std::string, std::vector<std::string>>> pages;
  for (gallery::PageFactory make : gallery::Pages()) {
    winport::headless::Reset();
    std::unique_ptr<gallery::Page> page(make());
    gallery::CPageFrame frame;
    EXPECT_TRUE(frame.CreatePage(page.get(), FALSE)) << page->Name();
    std::vector<std::string> texts{page->Title()};
    CollectTexts(frame.GetSafeHwnd(), texts);
    pages.emplace_back(page->Name(), texts);
    page->Destroy();
    frame.DestroyWindow();
  }
  return pages;
}

TEST(GalleryCaptions, PagesSpeakInWordsNotIdentifiers) {
  const std::regex className(R"(\bC[A-Z][A-Za-z]+\b)");  // CVUMeter, CWaveformWnd
  const std::regex constant(R"(\b[A-Z]+_[A-Z_]+\b)");     // ASDS_TEXTLEFT
  const auto pages = PageTexts();
  ASSERT_GE(pages.size(), 8u);
  for (const auto& [name, texts] : pages) {
    EXPECT_NE(texts[0], name) << "page " << name << " has no title of its own";
    for (const std::string& t : texts) {
      EXPECT_FALSE(std::regex_search(t, className)) << name << ": \"" << t << "\"";
      EXPECT_FALSE(std::regex_search(t, constant)) << name << ": \"" << t << "\"";
    }
  }
}

TEST(GalleryCaptions, ScrollBarViewsAreNamedBySkin) {
  for (const auto& [name, texts] : PageTexts()) {
    if (name != "scrolling") continue;
    for (const char* want : {"Skin: normal", "Skin: flat", "Skin: blue glass", "Platform scroll bars"})
      EXPECT_NE(std::find(texts.begin(), texts.end(), want), texts.end()) << want;
    return;
  }
  FAIL() << "no scrolling page";
}

}  // namespace
