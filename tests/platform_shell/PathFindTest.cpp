// Path splitting and file finding.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <cstdlib>
#include <ctime>
#include <set>

#include <winport/afx.h>

namespace {

struct Parts {
  wchar_t drive[8], dir[64], fname[64], ext[16];
};

errno_t Split(const wchar_t* path, Parts& p) {
  return _wsplitpath_s(path, p.drive, 8, p.dir, 64, p.fname, 64, p.ext, 16);
}

class ScratchDir : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/winport-find-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    m_root = pattern;
    for (const char* name : {"a.wav", "b.wav", "c.avi", ".hidden"}) std::ofstream(m_root + "/" + name) << "x";
    ::mkdir((m_root + "/sub").c_str(), 0755);
  }
  void TearDown() override { std::filesystem::remove_all(m_root); }
  std::wstring W(const std::string& rel) const { return CString::FromUtf8(m_root + rel).str(); }
  std::string m_root;
};


// The write time of a found file as the shell's columns show it: false when there is none to show.
bool FoundWriteTime(const std::string& path, SYSTEMTIME& st) {
  CFileFind finder;
  FILETIME ft{}, local{};
  const std::wstring name = CString::FromUtf8(path).str();
  return finder.FindFile(name.c_str()) && finder.FindNextFile() == FALSE && finder.GetLastWriteTime(&ft) &&
         FileTimeToLocalFileTime(&ft, &local) && FileTimeToSystemTime(&local, &st);
}

// Dates a file sec seconds after 1970; false when the file system will not keep that time.
bool SetWriteTime(const std::string& path, std::int64_t sec) {
  const timespec times[2] = {{static_cast<time_t>(sec), 0}, {static_cast<time_t>(sec), 0}};
  struct stat st {};
  return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0 && ::stat(path.c_str(), &st) == 0 &&
         st.st_mtim.tv_sec == sec;
}

// A time zone east of UTC for the scope of a test.
class EastZone {
 public:
  EastZone() {
    if (const char* tz = std::getenv("TZ")) m_old = tz, m_had = true;
    ::setenv("TZ", "EAST-9", 1);
    ::tzset();
  }
  ~EastZone() {
    if (m_had)
      ::setenv("TZ", m_old.c_str(), 1);
    else
      ::unsetenv("TZ");
    ::tzset();
  }

 private:
  std::string m_old;
  bool m_had = false;
};

}  // namespace

TEST(SplitPath, DrivesFoldersTitlesAndExtensionsWithEitherSeparator) {
  Parts p;
  ASSERT_EQ(Split(L"C:\\dir\\clip.avi", p), 0);
  EXPECT_STREQ(p.drive, L"C:");
  EXPECT_STREQ(p.dir, L"\\dir\\");
  EXPECT_STREQ(p.fname, L"clip");
  EXPECT_STREQ(p.ext, L".avi");
  ASSERT_EQ(Split(L"/media/take.1/clip", p), 0);
  EXPECT_STREQ(p.drive, L"");
  EXPECT_STREQ(p.dir, L"/media/take.1/");
  EXPECT_STREQ(p.fname, L"clip");
  EXPECT_STREQ(p.ext, L"");
  ASSERT_EQ(Split(L"x:a.b.c", p), 0);
  EXPECT_STREQ(p.drive, L"x:");
  EXPECT_STREQ(p.fname, L"a.b");
  EXPECT_STREQ(p.ext, L".c");
  // Parts not wanted are skipped with a null buffer and a size of 0.
  wchar_t ext[8];
  EXPECT_EQ(_wsplitpath_s(L"d/e.f", nullptr, 0, nullptr, 0, nullptr, 0, ext, 8), 0);
  EXPECT_STREQ(ext, L".f");
}

TEST(SplitPath, TooSmallOrInvalidClearsEveryPart) {
  Parts p;
  ASSERT_EQ(Split(L"C:\\dir\\clip.avi", p), 0);
  EXPECT_EQ(Split((L"C:\\d\\" + std::wstring(70, L'n') + L".x").c_str(), p), ERANGE);
  EXPECT_STREQ(p.drive, L"");
  EXPECT_STREQ(p.dir, L"");
  EXPECT_STREQ(p.fname, L"");
  EXPECT_EQ(Split(nullptr, p), EINVAL);
  wchar_t d[4];
  EXPECT_EQ(_wsplitpath_s(L"a", d, 4, nullptr, 5, nullptr, 0, nullptr, 0), EINVAL);
}

TEST_F(ScratchDir, WildcardsNamesAndTrailingSeparators) {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((W("/") + L"*.wav").c_str(), &fd);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  do names.insert(fd.cFileName);
  while (FindNextFileW(h, &fd));
  EXPECT_TRUE(FindClose(h));
  EXPECT_EQ(names, (std::set<std::wstring>{L"a.wav", L"b.wav"}));

  h = FindFirstFileW(W("\\sub").c_str(), &fd);  // backslashes name the same file
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  FindClose(h);
  EXPECT_EQ(FindFirstFileW(W("/sub/").c_str(), &fd), INVALID_HANDLE_VALUE);
  EXPECT_EQ(FindFirstFileW(W("/nothing*").c_str(), &fd), INVALID_HANDLE_VALUE);
  EXPECT_EQ(FindFirstFileW(L"C:\\Media", &fd), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(FindNextFileW(INVALID_HANDLE_VALUE, &fd));
}

TEST_F(ScratchDir, FinderWalksEveryMatchWithPathsSizesAndDots) {
  CFileFind finder;
  ASSERT_TRUE(finder.FindFile((W("/") + L"*.*").c_str()));
  std::set<std::wstring> names;
  bool sawDots = false;
  BOOL more = TRUE;
  while (more) {
    more = finder.FindNextFile();
    if (finder.IsDots()) {
      sawDots = true;
      continue;
    }
    names.insert(finder.GetFileName().str());
    EXPECT_EQ(finder.GetFilePath(), CString(W("/") + finder.GetFileName().str()));
    if (!finder.IsDirectory()) {
      EXPECT_EQ(finder.GetLength(), 1u);
    }
  }
  EXPECT_TRUE(sawDots);
  EXPECT_EQ(names, (std::set<std::wstring>{L"a.wav", L"b.wav", L"c.avi", L".hidden", L"sub"}));
  EXPECT_FALSE(finder.FindFile(W("/none.*").c_str()));
}

TEST(FileTimes, ConvertToCalendarFieldsAndLocalTime) {
  // 2000-02-29 12:34:56.789 UTC in 100 ns ticks since 1601.
  const std::uint64_t ticks = (951827696ULL + 11644473600ULL) * 10000000ULL + 7890000ULL;
  const FILETIME ft{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME st{};
  ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
  EXPECT_EQ(st.wYear, 2000);
  EXPECT_EQ(st.wMonth, 2);
  EXPECT_EQ(st.wDay, 29);
  EXPECT_EQ(st.wHour, 12);
  EXPECT_EQ(st.wMinute, 34);
  EXPECT_EQ(st.wSecond, 56);
  EXPECT_EQ(st.wMilliseconds, 789);
  EXPECT_FALSE(FileTimeToSystemTime(nullptr, &st));
}

// tmpfs keeps any 64-bit modification time. Past what a FILETIME carries the file shows no time;
// inside it, as late as year 30000, the time shows. The conversions themselves never overflow
// (the sanitizer build checks), east of UTC included, where the last times run past the range.
TEST(FileTimes, FarFutureTimesShowOrStayEmptyWithoutOverflow) {
  EastZone zone;
  const FILETIME last{0xFFFFFFFFu, 0x7FFFFFFFu};
  FILETIME local{};
  EXPECT_FALSE(FileTimeToLocalFileTime(&last, &local));
  const FILETIME none{0xFFFFFFFFu, 0xFFFFFFFFu};
  EXPECT_FALSE(FileTimeToLocalFileTime(&none, &local));

  char path[] = "/dev/shm/winport-time-XXXXXX";
  const int fd = ::mkstemp(path);
  if (fd < 0) GTEST_SKIP() << "no tmpfs at /dev/shm";
  ::close(fd);
  SYSTEMTIME st{};
  if (SetWriteTime(path, 9000000000000000000LL)) {
    EXPECT_FALSE(FoundWriteTime(path, st)) << st.wYear;
  }
  constexpr std::int64_t kYear30000 = 884541340800LL;  // 30000-01-01 00:00 UTC
  if (SetWriteTime(path, kYear30000)) {
    ASSERT_TRUE(FoundWriteTime(path, st));
    EXPECT_EQ(st.wYear, 30000);
    EXPECT_EQ(st.wHour, 9);
  }
  if (SetWriteTime(path, -20000000000LL)) {  // before 1601
    EXPECT_FALSE(FoundWriteTime(path, st)) << st.wYear;
  }
  ::unlink(path);
}
