// The gallery's command line as a user meets it: the real program run with good and bad
// arguments, its exit status and what it says. And where its windows go.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tools/gallery/Tiling.h"

namespace {

struct Outcome {
  int status = -1;  // exit status; -1 when the program did not exit normally (a signal, an abort)
  std::string output;  // stdout and stderr together
};

Outcome Gallery(const std::string& args) {
  const std::string cmd = "'" PARVANEU_GALLERY_PATH "' " + args + " 2>&1";
  Outcome r;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  std::array<char, 4096> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.output.append(buf.data(), n);
  const int st = pclose(p);
  if (WIFEXITED(st)) r.status = WEXITSTATUS(st);
  return r;
}

TEST(GalleryArgs, BadCommandLinesExitTwoWithAReason) {
  const struct {
    const char* args;
    const char* says;
  } cases[] = {
      {"--frobnicate", "unknown option '--frobnicate'"},
      {"-x", "unknown option '-x'"},
      {"meters", "unexpected argument 'meters'"},
      {"--out", "--out needs a folder"},
      {"--out=", "--out needs a folder"},
      {"--page", "--page needs a page name"},
      {"--page --window", "--page needs a page name"},
      {"--page no-such-page", "unknown page 'no-such-page'"},
      {"--out /tmp --page=nope", "unknown page 'nope'"},
  };
  for (const auto& c : cases) {
    const Outcome r = Gallery(c.args);
    EXPECT_EQ(r.status, 2) << c.args;
    EXPECT_NE(r.output.find(c.says), std::string::npos) << c.args << " said: " << r.output;
    EXPECT_NE(r.output.find("--help"), std::string::npos) << c.args;
  }
}

TEST(GalleryArgs, HelpListsOptionsAndEveryPage) {
  const Outcome r = Gallery("--help");
  EXPECT_EQ(r.status, 0);
  for (const char* word : {"--out DIR", "--page NAME", "--window", "--help", "meters", "scale", "scope-traces"})
    EXPECT_NE(r.output.find(word), std::string::npos) << word;
  EXPECT_EQ(Gallery("-h").output, r.output);
}

void ExpectCannotWrite(const std::string& out) {
  const Outcome r = Gallery("--page scale --out '" + out + "'");
  EXPECT_EQ(r.status, 1) << out << ": " << r.output;
  EXPECT_NE(r.output.find("cannot write to " + out), std::string::npos) << r.output;
}

TEST(GalleryArgs, UnwritableOutputFolderIsAnErrorNotAnAbort) {
  ExpectCannotWrite("/dev/null/x");                  // a file on the way
  ExpectCannotWrite("/proc/parvane-gallery-output");  // a folder nobody may create
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(PARVANEU_TEST_OUTPUT_DIR) / "gallery-readonly";
  fs::create_directories(dir);
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
  if (access(dir.c_str(), W_OK) != 0) {  // root writes anywhere
    ExpectCannotWrite(dir.string());
    ExpectCannotWrite((dir / "sub").string());
  }
  fs::permissions(dir, fs::perms::owner_all);
}

TEST(GalleryArgs, OnePageRendersIntoTheOutputFolder) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(PARVANEU_TEST_OUTPUT_DIR) / "gallery-one-page";
  fs::remove_all(dir);
  const Outcome r = Gallery("--page=scale --out=" + dir.string());
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(fs::exists(dir / "scale.png"));
  EXPECT_FALSE(fs::exists(dir / "meters.png"));
}

TEST(GalleryTiling, RowsWrapAtTheScreenEdge) {
  const std::vector<SIZE> sizes{{400, 300}, {400, 200}, {300, 100}, {2000, 50}, {100, 100}};
  const auto at = gallery::TilePositions(sizes, SIZE{1000, 800}, POINT{10, 20}, 5);
  ASSERT_EQ(at.size(), sizes.size());
  EXPECT_EQ(at[0].x, 10);
  EXPECT_EQ(at[0].y, 20);
  EXPECT_EQ(at[1].x, 415);  // beside the first, one gap apart
  EXPECT_EQ(at[1].y, 20);
  EXPECT_EQ(at[2].x, 10);   // 820 + 300 would pass 1000: next row, below the tallest (300)
  EXPECT_EQ(at[2].y, 325);
  EXPECT_EQ(at[3].x, 10);   // wider than the screen: a row of its own
  EXPECT_EQ(at[3].y, 430);
  EXPECT_EQ(at[4].x, 10);
  EXPECT_EQ(at[4].y, 485);
}

TEST(ResourceScript, OutputPathIsRequired) {
  if (std::system("command -v python3 > /dev/null 2>&1") != 0) GTEST_SKIP() << "python3 is not installed";
  const std::string script = PARVANEU_SOURCE_DIR "/tools/resgen/make_mb_image.py";
  const int none = std::system(("python3 '" + script + "' > /dev/null 2>&1").c_str());
  ASSERT_TRUE(WIFEXITED(none));
  EXPECT_EQ(WEXITSTATUS(none), 2);
  const std::string out = PARVANEU_TEST_OUTPUT_DIR "/mb_image.bmp";
  const int made = std::system(("python3 '" + script + "' '" + out + "'").c_str());
  ASSERT_TRUE(WIFEXITED(made));
  EXPECT_EQ(WEXITSTATUS(made), 0);
  EXPECT_TRUE(std::filesystem::exists(out));
}

}  // namespace
