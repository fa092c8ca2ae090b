// SHGetFileInfoW by flag: names only, folders, drives, missing files, the system lists.
#include <gtest/gtest.h>

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
