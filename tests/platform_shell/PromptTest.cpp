// File and folder prompts: the headless script and its record, the answers written back, the
// desktop helper's command line, a stand-in helper on PATH, and the real one under a virtual
// display when it is installed.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include <winport/afx.h>
#include <winport/headless.h>

namespace hl = winport::headless;

extern char** environ;

namespace {

// A save record over a caller buffer of `size` characters.
struct SaveBox {
  explicit SaveBox(DWORD size = MAX_PATH) : buf(size, L'\0') {
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFile = buf.data();
    ofn.nMaxFile = size;
  }
  std::wstring buf;
  wchar_t title[32]{};
  OPENFILENAMEW ofn{};
};

// Sets an environment variable for the scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old, m_had = true;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (m_had) ::setenv(m_name, m_old.c_str(), 1);
    else ::unsetenv(m_name);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* m_name;
  std::string m_old;
  bool m_had = false;
};

std::string Which(const char* program) {
  for (const char* dir : {"/usr/bin", "/usr/local/bin", "/bin"}) {
    std::string p = std::string(dir) + "/" + program;
    if (::access(p.c_str(), X_OK) == 0) return p;
  }
  return {};
}

}  // namespace

class Prompts : public ::testing::Test {
 protected:
  void SetUp() override { hl::Reset(); }
};

TEST_F(Prompts, ScriptedAnswersAreRecordedAndWrittenBack) {
  CWnd owner;
  ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), L"o", WS_POPUP | WS_VISIBLE, CRect(10, 20, 110, 220), nullptr, 0));
  SaveBox box;
  std::wcscpy(box.ofn.lpstrFile, L"take");
  box.ofn.hwndOwner = owner;
  box.ofn.lpstrFilter = L"Text (*.txt)\0*.txt\0All\0*.*\0";
  box.ofn.nFilterIndex = 2;
  box.ofn.lpstrDefExt = L"txt";
  box.ofn.lpstrTitle = L"Keep it";
  box.ofn.Flags = OFN_OVERWRITEPROMPT;
  box.ofn.lpstrFileTitle = box.title;
  box.ofn.nMaxFileTitle = 32;
  hl::QueuePromptAnswer(L"/tmp/notes");
  ASSERT_TRUE(GetSaveFileNameW(&box.ofn));
  EXPECT_STREQ(box.ofn.lpstrFile, L"/tmp/notes.txt");  // the default extension joins a bare name
  EXPECT_EQ(box.ofn.nFileOffset, 5);
  EXPECT_EQ(box.ofn.nFileExtension, 11);
  EXPECT_STREQ(box.title, L"notes.txt");
  const auto records = hl::Prompts();
  ASSERT_EQ(records.size(), 1u);
  const hl::PromptRecord& r = records[0];
  EXPECT_EQ(r.kind, hl::PromptRecord::Save);
  EXPECT_EQ(r.title, L"Keep it");
  EXPECT_EQ(r.filter, L"Text (*.txt)|*.txt|All|*.*|");
  EXPECT_EQ(r.fileName, L"take");
  EXPECT_EQ(r.defExt, L"txt");
  EXPECT_EQ(r.flags, static_cast<DWORD>(OFN_OVERWRITEPROMPT));
  EXPECT_EQ(r.filterIndex, 2u);
  EXPECT_EQ(r.owner, owner.GetSafeHwnd());
  EXPECT_EQ(CRect(r.ownerRect), CRect(10, 20, 110, 220));
  EXPECT_TRUE(r.ownerEnabled);

  // A name with an extension keeps it; an open prompt records its kind.
  hl::QueuePromptAnswer(L"C:\\clips\\a.avi");
  SaveBox open;
  ASSERT_TRUE(GetOpenFileNameW(&open.ofn));
  EXPECT_STREQ(open.ofn.lpstrFile, L"C:\\clips\\a.avi");
  EXPECT_EQ(hl::Prompts().back().kind, hl::PromptRecord::Open);
  EXPECT_EQ(CRect(hl::Prompts().back().ownerRect), CRect(0, 0, 0, 0));
  owner.DestroyWindow();
}

TEST_F(Prompts, CancelEmptyQueueSmallBuffersAndReset) {
  SaveBox box;
  hl::QueuePromptCancel();
  EXPECT_FALSE(GetOpenFileNameW(&box.ofn));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_FALSE(GetOpenFileNameW(&box.ofn));  // nothing queued
  SaveBox tiny(8);
  hl::QueuePromptAnswer(L"/a/long/path.wav");
  EXPECT_FALSE(GetSaveFileNameW(&tiny.ofn));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(FNERR_BUFFERTOOSMALL));
  EXPECT_EQ(static_cast<DWORD>(tiny.buf[0]), 17u);  // the size it needs
  OPENFILENAMEW bad{};
  EXPECT_FALSE(GetOpenFileNameW(&bad));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
  EXPECT_EQ(hl::Prompts().size(), 3u);
  hl::QueuePromptAnswer(L"/left/over");
  hl::Reset();
  EXPECT_TRUE(hl::Prompts().empty());
  EXPECT_FALSE(GetOpenFileNameW(&box.ofn));  // the queue went with the reset
}

TEST_F(Prompts, FolderPickerTalksToItsCallbackAndReturnsAnItemList) {
  struct Seen {
    int inits = 0;
  } seen;
  BROWSEINFOW bi{};
  wchar_t display[MAX_PATH];
  bi.pszDisplayName = display;
  bi.lpszTitle = L"Where";
  bi.ulFlags = BIF_RETURNONLYFSDIRS;
  bi.lParam = reinterpret_cast<LPARAM>(&seen);
  bi.lpfn = [](HWND hwnd, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED) {
      ++reinterpret_cast<Seen*>(data)->inits;
      SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(L"/srv/media"));
    }
    return 0;
  };
  hl::QueuePromptAnswer(L"/srv/media/takes/");
  PIDLIST_ABSOLUTE pidl = SHBrowseForFolderW(&bi);
  ASSERT_NE(pidl, nullptr);
  EXPECT_EQ(seen.inits, 1);
  EXPECT_STREQ(display, L"takes");
  wchar_t path[MAX_PATH];
  ASSERT_TRUE(SHGetPathFromIDListW(pidl, path));
  EXPECT_STREQ(path, L"/srv/media/takes/");
  ILFree(pidl);
  const hl::PromptRecord r = hl::Prompts().back();
  EXPECT_EQ(r.kind, hl::PromptRecord::Folder);
  EXPECT_EQ(r.fileName, L"/srv/media");
  EXPECT_EQ(r.title, L"Where");
  EXPECT_EQ(r.flags, static_cast<DWORD>(BIF_RETURNONLYFSDIRS));
  EXPECT_EQ(SHBrowseForFolderW(&bi), nullptr);  // nothing queued: cancelled
  EXPECT_FALSE(SHGetPathFromIDListW(nullptr, path));
}

TEST(DesktopHelper, CommandLinesCarryTitleFiltersNameAndOverwrite) {
  winport::PromptRequest r;
  r.kind = winport::PromptRequest::Save;
  r.title = L"Save As";
  r.filters = {{L"Clips (*.clp)", L"*.clp"}, {L"Media", L"*.avi;*.wav"}};
  r.filterIndex = 2;
  r.fileName = L"take.clp";
  r.initialDir = L"C:\\ignored";
  r.flags = OFN_OVERWRITEPROMPT;
  const std::vector<std::string> want = {"zenity",         "--file-selection", "--title=Save As",
                                         "--save",         "--confirm-overwrite",
                                         "--file-filter=Media | *.avi *.wav", "--file-filter=Clips (*.clp) | *.clp"};
  EXPECT_EQ(winport::DesktopHelperCommand("zenity", r), want);  // a drive path names nothing here
  r.initialDir = L"/home/me\\clips";
  auto z = winport::DesktopHelperCommand("zenity", r);
  EXPECT_NE(std::find(z.begin(), z.end(), "--filename=/home/me/clips/take.clp"), z.end());
  r.kind = winport::PromptRequest::Folder;
  r.fileName = L"/srv";
  EXPECT_EQ(winport::DesktopHelperCommand("/usr/bin/kdialog", r),
            (std::vector<std::string>{"/usr/bin/kdialog", "--title", "Save As", "--getexistingdirectory", "/srv"}));
  r.kind = winport::PromptRequest::Open;
  const auto k = winport::DesktopHelperCommand("kdialog", r);
  EXPECT_EQ(k.back(), "*.avi *.wav|Media\n*.clp|Clips (*.clp)");
}

TEST(DesktopHelper, AStandInHelperOnPathAnswersThroughTheDialogs) {
  char dir[] = "/tmp/winport-helper-XXXXXX";
  ASSERT_NE(::mkdtemp(dir), nullptr);
  const std::string helper = std::string(dir) + "/zenity";
  std::ofstream(helper) << "#!/bin/sh\necho \"$@\" > " << dir << "/args\necho /chosen/by/helper\n";
  ::chmod(helper.c_str(), 0755);
  {
    ScopedEnv path("PATH", std::string(dir) + ":/usr/bin:/bin");
    ScopedEnv display("DISPLAY", ":0");
    hl::Reset();
    winport::SetPromptProvider(winport::MakeDesktopPromptProvider());
    SaveBox box;
    box.ofn.lpstrTitle = L"Open a take";
    EXPECT_TRUE(GetOpenFileNameW(&box.ofn));
    EXPECT_STREQ(box.ofn.lpstrFile, L"/chosen/by/helper");
    winport::SetPromptProvider(nullptr);
    std::string args;
    std::getline(std::ifstream(std::string(dir) + "/args"), args);
    EXPECT_EQ(args, "--file-selection --title=Open a take");
  }
  {  // No display: no desktop helper.
    ScopedEnv path("PATH", std::string(dir));
    ScopedEnv display("DISPLAY", "");
    ScopedEnv wayland("WAYLAND_DISPLAY", "");
    EXPECT_EQ(winport::MakeDesktopPromptProvider(), nullptr);
  }
  std::filesystem::remove_all(dir);
}

TEST(DesktopHelper, RealHelperRunsUnderAVirtualDisplay) {
  const std::string xvfb = Which("Xvfb");
  if (Which("zenity").empty() || xvfb.empty()) GTEST_SKIP() << "zenity or Xvfb not installed";
  const std::string number = std::to_string(90 + ::getpid() % 400);
  std::vector<std::string> args = {xvfb, ":" + number, "-nolisten", "tcp", "-screen", "0", "800x600x24"};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t server = -1;
  ASSERT_EQ(::posix_spawn(&server, xvfb.c_str(), &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  const std::string socket = "/tmp/.X11-unix/X" + number;
  for (int i = 0; i < 100 && ::access(socket.c_str(), F_OK) != 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  if (::access(socket.c_str(), F_OK) != 0) {
    ::kill(server, SIGTERM);
    ::waitpid(server, nullptr, 0);
    GTEST_SKIP() << "the virtual display did not start";
  }
  {
    ScopedEnv display("DISPLAY", ":" + number);
    auto provider = winport::MakeDesktopPromptProvider(winport::DesktopPromptOptions{4000});
    ASSERT_NE(provider, nullptr);
    winport::PromptRequest r;
    r.kind = winport::PromptRequest::Save;
    r.title = L"Nobody answers";
    r.filters = {{L"Text", L"*.txt"}};
    r.fileName = L"/tmp/never.txt";
    r.flags = OFN_OVERWRITEPROMPT;
    const winport::PromptAnswer a = provider->Ask(r);
    // The dialog stood open until the deadline (a bad command line would have ended at once).
    EXPECT_TRUE(a.expired);
    EXPECT_FALSE(a.confirmed);
  }
  ::kill(server, SIGTERM);
  ::waitpid(server, nullptr, 0);
}
