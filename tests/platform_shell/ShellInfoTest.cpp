// SHGetFileInfoW by flag: names only, folders, drives, missing files, the system lists.
#include <gtest/gtest.h>

#include <cstdlib>

#include <winport/afx.h>

TEST(ShellInfo, AttributesAloneNameTypesWithoutTheFile) {
  SHFILEINFOW sfi{};
  ASSERT_NE(SHGetFileInfoW(L"C:\\nowhere\\notes.txt", FILE_ATTRIBUTE_NORMAL, &sfi, sizeof sfi,
                           SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME | SHGFI_DISPLAYNAME),
            0u);
  EXPECT_NE(std::wstring(sfi.szTypeName).find(L"text"), std::wstring::npos);
  EXPECT_STREQ(sfi.szDisplayName, L"notes.txt");
  ASSERT_NE(SHGetFileInfoW(L"/nowhere/takes/", FILE_ATTRIBUTE_DIRECTORY, &sfi, sizeof sfi,
                           SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON),
            0u);
  EXPECT_STREQ(sfi.szTypeName, L"Folder");
  EXPECT_EQ(sfi.iIcon, winport::kIconFolder);
  // Without the flag the file must exist.
  EXPECT_EQ(SHGetFileInfoW(L"/nowhere/notes.txt", 0, &sfi, sizeof sfi, SHGFI_TYPENAME), 0u);
  EXPECT_EQ(SHGetFileInfoW(nullptr, 0, &sfi, sizeof sfi, SHGFI_TYPENAME), 0u);
  EXPECT_EQ(SHGetFileInfoW(L"/", 0, &sfi, 4, SHGFI_TYPENAME), 0u);  // a record too small
}

TEST(ShellInfo, DriveRootsAndTheTwoSystemLists) {
  SHFILEINFOW sfi{};
  const auto small = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"Z:\\", 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_TYPENAME));
  EXPECT_STREQ(sfi.szTypeName, L"Local Disk");
  EXPECT_EQ(sfi.iIcon, winport::kIconDrive);
  const auto large = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"Z:", 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | SHGFI_ICON));
  ASSERT_NE(small, nullptr);
  ASSERT_NE(large, nullptr);
  EXPECT_NE(small, large);
  EXPECT_NE(sfi.hIcon, nullptr);
  EXPECT_TRUE(DestroyIcon(sfi.hIcon));
  int cx = 0, cy = 0;
  ImageList_GetIconSize(small, &cx, &cy);
  EXPECT_EQ(cy, 16);
  ImageList_GetIconSize(large, &cx, &cy);
  EXPECT_EQ(cy, 32);
  // An icon named anew joins both lists at the same index; unknown names join neither.
  const int before = ImageList_GetImageCount(small);
  const int idx = winport::SystemIconIndex("audio-x-generic");
  if (idx >= before) {
    EXPECT_EQ(ImageList_GetImageCount(large), idx + 1);
  }
  EXPECT_EQ(winport::SystemIconIndex("no-such-icon-anywhere"), -1);
  EXPECT_EQ(ImageList_GetImageCount(small), ImageList_GetImageCount(large));
}

namespace winport::detail {
Surface ImageListGetArgb(HIMAGELIST himl, int i);
}

// Without any icon theme the lists start from the built-in pictures. Run in a fresh process, as
// the lists are built once per process.
TEST(ShellInfoDeathTest, WithoutAThemeTheBuiltInPicturesServe) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        ::setenv("XDG_DATA_DIRS", "/nonexistent-icons", 1);
        ::setenv("XDG_DATA_HOME", "/nonexistent-icons", 1);
        ::setenv("HOME", "/nonexistent-icons", 1);
        SHFILEINFOW sfi{};
        const auto small = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
            L"/x/", FILE_ATTRIBUTE_DIRECTORY, &sfi, sizeof sfi, SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
        const winport::Surface folder = winport::detail::ImageListGetArgb(small, sfi.iIcon);
        const winport::Surface file = winport::detail::ImageListGetArgb(small, winport::kIconFile);
        // The folder's body is opaque yellow, the page's corner is cut away.
        const bool ok = ImageList_GetImageCount(small) == 3 && folder.At(8, 9) == 0xFFF2C55Cu &&
                        file.At(12, 1) == 0u && (file.At(6, 8) >> 24) == 0xFFu &&
                        winport::SystemIconIndex("text-plain") == -1;
        std::exit(ok ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}
