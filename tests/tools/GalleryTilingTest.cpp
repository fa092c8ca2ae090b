// Where the gallery's page windows land on screens a user has, with the pages as they are.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tools/gallery/Gallery.h"
#include "tools/gallery/PageFrame.h"
#include "tools/gallery/Tiling.h"

namespace {

std::vector<SIZE> PageFrameSizes() {
  std::vector<SIZE> sizes;
  for (gallery::PageFactory make : gallery::Pages()) {
    std::unique_ptr<gallery::Page> page(make());
    sizes.push_back(gallery::CPageFrame::FrameSize(page->ClientSize()));
  }
  return sizes;
}

CRect At(POINT p, SIZE s) { return CRect(p, s); }

TEST(GalleryTiling, EveryPageLiesWithinTheScreenAndShowsItsTitle) {
  const std::vector<SIZE> sizes = PageFrameSizes();
  ASSERT_GE(sizes.size(), 8u);
  for (SIZE screen : {SIZE{1280, 720}, SIZE{1920, 1080}, SIZE{3840, 2160}}) {
    const std::vector<POINT> at = gallery::TilePositions(sizes, screen);
    ASSERT_EQ(at.size(), sizes.size());
    const CRect desk(0, 0, screen.cx, screen.cy);
    for (size_t i = 0; i < at.size(); ++i) {
      const CRect r = At(at[i], sizes[i]);
      CRect in;
      in.IntersectRect(&r, &desk);
      EXPECT_EQ(in, r) << "page " << i << " on " << screen.cx << "x" << screen.cy;
      // No later window covers this one's title band's left end, where the name is.
      const CPoint title(r.left + 8, r.top + gallery::kTitleHeight / 2);
      for (size_t j = i + 1; j < at.size(); ++j)
        EXPECT_FALSE(At(at[j], sizes[j]).PtInRect(title)) << i << " under " << j << " on " << screen.cx;
    }
  }
}

TEST(GalleryTiling, ALargeScreenTilesWithoutOverlap) {
  const std::vector<SIZE> sizes = PageFrameSizes();
  const std::vector<POINT> at = gallery::TilePositions(sizes, SIZE{3840, 2160});
  for (size_t i = 0; i < at.size(); ++i)
    for (size_t j = i + 1; j < at.size(); ++j) {
      CRect both;
      EXPECT_FALSE(both.IntersectRect(At(at[i], sizes[i]), At(at[j], sizes[j]))) << i << " and " << j;
    }
}

TEST(GalleryTiling, RowsWrapAtTheRightEdgeAndCascadeWhenTheyPassTheBottom) {
  std::vector<SIZE> sizes{{400, 300}, {400, 200}, {300, 100}, {2000, 50}};
  auto at = gallery::TilePositions(sizes, SIZE{1000, 800}, POINT{10, 20}, 5, 30);
  ASSERT_EQ(at.size(), sizes.size());
  EXPECT_EQ(at[1].x, 415);  // beside the first, one gap apart
  EXPECT_EQ(at[2].x, 10);   // 820 + 300 would pass 1000: next row, below the tallest (300)
  EXPECT_EQ(at[2].y, 325);
  EXPECT_EQ(at[3].x, 0);    // wider than the screen: a row of its own, at the left edge
  EXPECT_EQ(at[3].y, 430);
  sizes.push_back(SIZE{500, 400});  // 485 + 400 would pass 800: every window cascades
  at = gallery::TilePositions(sizes, SIZE{1000, 800}, POINT{10, 20}, 5, 30);
  EXPECT_EQ(at[0].x, 10);
  EXPECT_EQ(at[1].y, 50);
  EXPECT_EQ(at[4].x, 130);
  EXPECT_EQ(at[4].y, 140);
}

}  // namespace
