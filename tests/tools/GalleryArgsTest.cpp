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

// An installed gallery has no source tree to read: the dialogs page looks beside the program.
TEST(GalleryArgs, DialogsPageReadsResourcesBesideTheProgram) {
  namespace fs = std::filesystem;
  const fs::path root = fs::path(PARVANEU_TEST_OUTPUT_DIR) / "gallery-moved";
  fs::remove_all(root);
  fs::create_directories(root / "bin");
  const fs::path program = root / "bin" / "parvane-gallery";
  fs::copy_file(PARVANEU_GALLERY_PATH, program);
  const std::string run = "'" + program.string() + "' --page dialogs --out '" + (root / "out").string() + "' 2>&1";
  auto said = [&run] {
    std::string text;
    FILE* p = popen(run.c_str(), "r");
    std::array<char, 512> buf;
    for (size_t n; p && (n = fread(buf.data(), 1, buf.size(), p)) > 0;) text.append(buf.data(), n);
    if (p) pclose(p);
    return text;
  };
  const std::string alone = said();
  const std::string tag = "no resource folder at ";
  const size_t at = alone.find(tag);
  ASSERT_NE(at, std::string::npos) << alone;
  const fs::path folder = alone.substr(at + tag.size(), alone.find('\n', at) - at - tag.size());
  EXPECT_EQ(folder.string().rfind(root.string(), 0), 0u) << "looked outside the program's tree: " << folder;
  fs::create_directories(folder);
  fs::copy_file(PARVANEU_SOURCE_DIR "/resources/IDB_MB_IMAGE.bmp", folder / "IDB_MB_IMAGE.bmp");
  EXPECT_EQ(said().find(tag), std::string::npos);
}

// A 16 x 16 4:2:0 stream of `frames` frames in one grey.
std::string WriteY4m(const std::string& name, int frames) {
  const std::string path = std::string(PARVANEU_TEST_OUTPUT_DIR) + "/" + name;
  std::filesystem::create_directories(PARVANEU_TEST_OUTPUT_DIR);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return path;
  std::fputs("YUV4MPEG2 W16 H16 F25:1 Ip A1:1 C420jpeg\n", f);
  const std::string planes(16 * 16, '\x70');
  const std::string chroma(2 * 8 * 8, '\x80');
  for (int i = 0; i < frames; ++i) {
    std::fputs("FRAME\n", f);
    std::fwrite(planes.data(), 1, planes.size(), f);
    std::fwrite(chroma.data(), 1, chroma.size(), f);
  }
  std::fclose(f);
  return path;
}

TEST(GalleryArgs, FootageOnStandardInputIsShownNotReadTwice) {
  const std::string out = std::string(PARVANEU_TEST_OUTPUT_DIR) + "/gallery-stdin";
  const Outcome shown = Gallery("--page scopes --video - --out '" + out + "' < '" + WriteY4m("clip.y4m", 30) + "'");
  EXPECT_EQ(shown.status, 0) << shown.output;
  EXPECT_EQ(shown.output.find("no frames"), std::string::npos) << shown.output;
  // The message the check above relies on: a stream with a header and no frame.
  const Outcome empty = Gallery("--page scopes --video - --out '" + out + "' < '" + WriteY4m("empty.y4m", 0) + "'");
  EXPECT_NE(empty.output.find("--video -: no frames to show"), std::string::npos) << empty.output;
}

TEST(GalleryArgs, AudioThatCannotBePlayedIsAnInputError) {
  if (std::system("command -v ffmpeg > /dev/null 2>&1") != 0) GTEST_SKIP() << "ffmpeg is not installed";
  const struct {
    std::string file;
    const char* says;
  } cases[] = {
      {"/dev/null", "/dev/null: not a regular file"},
      {"/nonexistent/tone.wav", "no such file"},
      {WriteY4m("silent-video.y4m", 2), "the file has no audio stream"},
  };
  for (const auto& c : cases) {
    const Outcome r = Gallery("--page loudness --out /tmp --audio '" + c.file + "'");
    EXPECT_EQ(r.status, 1) << c.file << ": " << r.output;
    EXPECT_NE(r.output.find(c.says), std::string::npos) << c.file << ": " << r.output;
  }
}

// Width and height from a PNG's header; 0 x 0 when the file is not one.
std::pair<unsigned, unsigned> PngSize(const std::string& path) {
  unsigned char head[24] = {};
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return {0, 0};
  const size_t n = std::fread(head, 1, sizeof head, f);
  std::fclose(f);
  if (n != sizeof head || head[1] != 'P' || head[2] != 'N' || head[3] != 'G') return {0, 0};
  auto be = [&](int at) { return unsigned{head[at]} << 24 | unsigned{head[at + 1]} << 16 | unsigned{head[at + 2]} << 8 | head[at + 3]; };
  return {be(16), be(20)};
}

// The README's picture is the sheet the gallery draws now (scripts/gallery-sheet.sh makes it): a
// page added, dropped or resized changes the sheet's size and leaves the picture stale.
TEST(GalleryArgs, ReadmePictureIsTheCurrentContactSheet) {
  const std::string out = std::string(PARVANEU_TEST_OUTPUT_DIR) + "/gallery-sheet";
  const Outcome r = Gallery("--out '" + out + "'");
  ASSERT_EQ(r.status, 0) << r.output;
  const auto made = PngSize(out + "/gallery.png");
  EXPECT_GT(made.first, 0u);
  EXPECT_EQ(PngSize(PARVANEU_SOURCE_DIR "/docs/gallery.png"), made) << "run scripts/gallery-sheet.sh";
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
