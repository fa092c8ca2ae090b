// Shell file information over real files in a scratch folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>

#include "TempDir.h"
#include "ParvaneU.h"
#include "support/HostWindow.h"

namespace hl = winport::headless;
using shelltest::TempDir;

namespace {

// The size and time texts of the one file a finder finds.
struct Found {
  CString size, time;
};
Found FindOne(const std::wstring& path) {
  CFileFind finder;
  Found f;
  if (!finder.FindFile(path.c_str())) return f;
  finder.FindNextFile();
  CSHFileInfo info(&finder);
  f.size = info.GetFileSize();
  f.time = info.GetLastWriteTime();
  return f;
}

}  // namespace

TEST(SHFileInfoPath, SplitsDrivePathsAndBothSeparators) {
  CSHFileInfo drive(L"C:\\dir\\clip.avi");
  EXPECT_EQ(drive.GetFileName(), L"clip.avi");
  EXPECT_EQ(drive.GetRoot(), L"C:\\dir\\");
  EXPECT_EQ(drive.GetFileTitle(), L"clip");

  CSHFileInfo slashes(L"/home/me/take.2/clip.tar.gz");
  EXPECT_EQ(slashes.GetFileName(), L"clip.tar.gz");
  EXPECT_EQ(slashes.GetRoot(), L"/home/me/take.2/");
  EXPECT_EQ(slashes.GetFileTitle(), L"clip.tar");

  CSHFileInfo mixed(L"D:/media\\a/b");
  EXPECT_EQ(mixed.GetRoot(), L"D:/media\\a/");
  EXPECT_EQ(mixed.GetFileName(), L"b");

  CSHFileInfo none;
  EXPECT_EQ(none.GetFileName(), L"");
  EXPECT_EQ(none.GetRoot(), L"");
}

TEST(SHFileInfoPath, LongNamesKeepEveryCharacter) {
  const std::wstring title(300, L'n');
  const std::wstring folder = L"C:\\" + std::wstring(280, L'f') + L"\\";
  CSHFileInfo info((folder + title + L".wav").c_str());
  EXPECT_EQ(info.GetFileTitle(), CString(title));
  EXPECT_EQ(info.GetFileName(), CString(title + L".wav"));
  EXPECT_EQ(info.GetRoot(), CString(folder));
}

TEST(SHFileInfoPath, CopiesCarryEveryPart) {
  CSHFileInfo a(L"C:\\x\\y.mov");
  CSHFileInfo b(a);
  CSHFileInfo c;
  c = a;
  for (CSHFileInfo* p : {&b, &c}) {
    EXPECT_EQ(p->GetFileName(), L"y.mov");
    EXPECT_EQ(p->GetRoot(), L"C:\\x\\");
  }
}

class SHFileInfoFiles : public ::testing::Test {
 protected:
  TempDir m_dir;
};

TEST_F(SHFileInfoFiles, ExistenceFollowsTheRootAndSeparatorRules) {
  ASSERT_TRUE(m_dir.Make("clip.avi", 4));
  ASSERT_EQ(::mkdir(m_dir.File("ab").c_str(), 0755), 0);
  EXPECT_TRUE(CSHFileInfo(m_dir.WFile("clip.avi").c_str()).Exist());
  EXPECT_FALSE(CSHFileInfo(m_dir.WFile("gone.avi").c_str()).Exist());
  EXPECT_TRUE(CSHFileInfo(m_dir.WFile("ab").c_str()).Exist());
  // Drive roots exist without asking, present or not.
  EXPECT_TRUE(CSHFileInfo(L"C:\\").Exist());
  EXPECT_TRUE(CSHFileInfo(L"Q:\\").Exist());
  // A folder written with a trailing backslash is asked for as written, and is not found.
  EXPECT_FALSE(CSHFileInfo((m_dir.WFile("ab") + L"\\").c_str()).Exist());
  // Two letters and a backslash: the backslash is dropped first.
  char* old = ::get_current_dir_name();
  ASSERT_EQ(::chdir(m_dir.Path().c_str()), 0);
  EXPECT_TRUE(CSHFileInfo(L"ab\\").Exist());
  EXPECT_FALSE(CSHFileInfo(L"cd\\").Exist());
  ASSERT_EQ(::chdir(old), 0);
  std::free(old);
}

TEST_F(SHFileInfoFiles, SizesAreGroupedByThousandsInFull) {
  ASSERT_TRUE(m_dir.Make("empty", 0));
  ASSERT_TRUE(m_dir.Make("twelve", 12, "twelve bytes"));
  ASSERT_TRUE(m_dir.Make("n999", 999));
  ASSERT_TRUE(m_dir.Make("n1000", 1000));
  ASSERT_TRUE(m_dir.Make("n1234567", 1234567));
  ASSERT_TRUE(m_dir.Make("big", 3LL << 30));  // sparse: past what a 32-bit "%d" could show
  EXPECT_EQ(FindOne(m_dir.WFile("empty")).size, L"0");
  EXPECT_EQ(FindOne(m_dir.WFile("twelve")).size, L"12");
  EXPECT_EQ(FindOne(m_dir.WFile("n999")).size, L"999");
  EXPECT_EQ(FindOne(m_dir.WFile("n1000")).size, L"1,000");
  EXPECT_EQ(FindOne(m_dir.WFile("n1234567")).size, L"1,234,567");
  EXPECT_EQ(FindOne(m_dir.WFile("big")).size, L"3,221,225,472");
}

TEST_F(SHFileInfoFiles, WriteTimeIsLocalWithTheMinute) {
  const char* oldTz = std::getenv("TZ");
  const std::string saved = oldTz ? oldTz : "";
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  ASSERT_TRUE(m_dir.Make("clip.avi", 1));
  const timespec times[2] = {{1614834367, 0}, {1614834367, 0}};  // 2021-03-04 05:06:07 UTC
  ASSERT_EQ(::utimensat(AT_FDCWD, m_dir.File("clip.avi").c_str(), times, 0), 0);
  EXPECT_EQ(FindOne(m_dir.WFile("clip.avi")).time, L"03/04/2021 05:06");
  ::setenv("TZ", "Asia/Kolkata", 1);  // +05:30
  ::tzset();
  EXPECT_EQ(FindOne(m_dir.WFile("clip.avi")).time, L"03/04/2021 10:36");
  if (oldTz) ::setenv("TZ", saved.c_str(), 1); else ::unsetenv("TZ");
  ::tzset();
}

TEST_F(SHFileInfoFiles, WithoutAFinderSizeAndTimeAreEmpty) {
  ASSERT_TRUE(m_dir.Make("clip.avi", 12));
  CSHFileInfo info(m_dir.WFile("clip.avi").c_str());
  EXPECT_EQ(info.GetFileSize(), L"");
  EXPECT_EQ(info.GetLastWriteTime(), L"");
}

TEST_F(SHFileInfoFiles, TypesNamesAndIconsComeFromTheDesktop) {
  ASSERT_TRUE(m_dir.Make("notes.txt", 6, "hello\n"));
  ASSERT_EQ(::mkdir(m_dir.File("takes").c_str(), 0755), 0);
  ASSERT_TRUE(m_dir.Make("strange.qqz", 16, std::string("QQZ\0\x9a\xbc\xde\xf0\x11\x22\x33\x44\0\x01\x02\xff", 16)));
  CSHFileInfo text(m_dir.WFile("notes.txt").c_str());
  EXPECT_NE(text.GetDescription().str().find(L"text"), std::wstring::npos) << text.GetDescription().ToUtf8();
  EXPECT_EQ(text.GetDisplayName(), L"notes.txt");
  CSHFileInfo folder(m_dir.WFile("takes").c_str());
  EXPECT_EQ(folder.GetDescription(), L"Folder");
  EXPECT_EQ(CSHFileInfo(m_dir.WFile("strange.qqz").c_str()).GetDescription(), L"QQZ File");
  CSHFileInfo bitmap((std::wstring(CString::FromUtf8(PARVANEU_SOURCE_DIR).str()) + L"/resources/IDB_MB_IMAGE.bmp").c_str());
  EXPECT_NE(bitmap.GetDescription().str().find(L"BMP"), std::wstring::npos) << bitmap.GetDescription().ToUtf8();
  // A missing file has no type.
  EXPECT_EQ(CSHFileInfo(m_dir.WFile("gone.txt").c_str()).GetDescription(), L"");

  CImageList small, large;
  CSHFileInfo().GetSystemImageList(&small, &large);
  int cx = 0, cy = 0;
  ASSERT_TRUE(::ImageList_GetIconSize(small, &cx, &cy));
  EXPECT_EQ(cx, 16);
  ASSERT_TRUE(::ImageList_GetIconSize(large, &cx, &cy));
  EXPECT_EQ(cx, 32);
  const int folderIcon = folder.GetIconIndex();
  const int textIcon = text.GetIconIndex();
  EXPECT_NE(folderIcon, textIcon);
  EXPECT_LT(textIcon, small.GetImageCount());
  EXPECT_EQ(small.GetImageCount(), large.GetImageCount());
  // The lists are the shell's.
  small.Detach();
  large.Detach();
  EXPECT_GT(::ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(
                ::SHGetFileInfoW(L"C:\\", 0, nullptr, 0, SHGFI_SYSICONINDEX | SHGFI_SMALLICON))),
            folderIcon);
}

// The folder picker with the settings a derived class gives it.
class CPicker : public CSHFileInfo {
 public:
  CPicker(const wchar_t* root, const wchar_t* initial, const wchar_t* title) {
    m_strBrowseRoot = root;
    m_strInitialSelection = initial;
    m_strBrowseTitle = title;
  }
};

class FolderPicker : public testsupport::HostWindowTest {
 protected:
  TempDir m_dir;
};

TEST_F(FolderPicker, ConfirmedFolderLandsInTheSelection) {
  const std::wstring chosen = m_dir.WFile("takes");
  hl::QueuePromptAnswer(chosen);
  CPicker picker(L"", m_dir.WFile("start").c_str(), L"Pick the takes");
  ASSERT_TRUE(picker.BrowseForFolder(&m_top));
  EXPECT_EQ(picker.m_strSelectedFolder, CString(chosen));
  EXPECT_EQ(picker.m_nImageIndex, winport::kIconFolder);
  const auto prompts = hl::Prompts();
  ASSERT_EQ(prompts.size(), 1u);
  EXPECT_EQ(prompts[0].kind, hl::PromptRecord::Folder);
  EXPECT_EQ(prompts[0].title, L"Pick the takes");
  EXPECT_EQ(prompts[0].flags, static_cast<DWORD>(BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS));
  EXPECT_EQ(prompts[0].owner, m_top.GetSafeHwnd());
  // The callback chose the starting folder.
  EXPECT_EQ(prompts[0].fileName, m_dir.WFile("start"));
}

TEST_F(FolderPicker, CancelAndBadRootsReturnFalse) {
  hl::QueuePromptCancel();
  CPicker plain(L"", L"", L"");
  EXPECT_FALSE(plain.BrowseForFolder(nullptr));
  EXPECT_EQ(hl::Prompts().size(), 1u);
  // A root that cannot be parsed ends before any prompt.
  CPicker missingRoot(m_dir.WFile("nowhere").c_str(), L"", L"");
  EXPECT_FALSE(missingRoot.BrowseForFolder(nullptr));
  EXPECT_EQ(hl::Prompts().size(), 1u);
  // An existing root starts the picker there.
  hl::QueuePromptAnswer(m_dir.Path().empty() ? L"" : CString::FromUtf8(m_dir.Path()).str());
  CPicker rooted(CString::FromUtf8(m_dir.Path()), L"", L"");
  EXPECT_TRUE(rooted.BrowseForFolder(nullptr));
  ASSERT_EQ(hl::Prompts().size(), 2u);
  EXPECT_EQ(hl::Prompts()[1].fileName, CString::FromUtf8(m_dir.Path()).str());
}
