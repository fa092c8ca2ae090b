// parvane-gallery: shows every control at work. Headless (the default) it plays each page's
// programme on the virtual clock and writes a strip of frames per page plus a contact sheet;
// with --window it opens the pages in real windows and plays them at the real clock.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <winport/afx.h>
#include <winport/headless.h>

#include "tools/gallery/Gallery.h"
#include "tools/gallery/PageFrame.h"
#include "tools/scope/FrameSource.h"

namespace {

struct Options {
  std::string outDir = "out";
  std::string only;
  std::string video;  // real footage for the scope pages, decoded by ffmpeg unless .y4m
  bool window = false;
};

Options Parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--window") o.window = true;
    else if (a == "--out" && i + 1 < argc) o.outDir = argv[++i];
    else if (a == "--page" && i + 1 < argc) o.only = argv[++i];
    else if (a == "--video" && i + 1 < argc) o.video = argv[++i];
    else if (a == "--help" || a == "-h") {
      std::puts("parvane-gallery [--out DIR] [--page NAME] [--window] [--video FILE]");
      std::exit(0);
    }
  }
  return o;
}

using Image = winport::headless::Image;

// Frames side by side with a grey gutter, on a dark ground.
Image Strip(const std::vector<Image>& frames) {
  constexpr int kGap = 6;
  Image strip;
  for (const Image& f : frames) {
    strip.width += f.width + kGap;
    strip.height = std::max(strip.height, f.height + 2 * kGap);
  }
  strip.width += kGap;
  strip.pixels.assign(static_cast<size_t>(strip.width) * strip.height, 0x303030);
  int x0 = kGap;
  for (const Image& f : frames) {
    for (int y = 0; y < f.height; ++y) {
      for (int x = 0; x < f.width; ++x) strip.pixels[static_cast<size_t>(y + kGap) * strip.width + x0 + x] = f.At(x, y);
    }
    x0 += f.width + kGap;
  }
  return strip;
}

int RunHeadless(const Options& o) {
  namespace hl = winport::headless;
  std::filesystem::create_directories(o.outDir);
  std::vector<Image> sheetRows;
  for (gallery::PageFactory make : gallery::Pages()) {
    std::unique_ptr<gallery::Page> page(make());
    if (!o.only.empty() && o.only != page->Name()) continue;
    hl::Reset();
    gallery::CPageFrame frame;
    if (!frame.CreatePage(page.get(), FALSE)) {
      std::fprintf(stderr, "gallery: cannot create page %s\n", page->Name());
      return 1;
    }
    std::vector<unsigned> shots = page->SnapshotTimes();
    std::sort(shots.begin(), shots.end());
    std::vector<Image> frames;
    const unsigned end = shots.empty() ? 0 : shots.back();
    size_t next = 0;
    for (unsigned t = 0; t <= end; t += gallery::kTickMs) {
      page->Tick(t);
      hl::Advance(gallery::kTickMs);
      while (next < shots.size() && shots[next] <= t) {
        hl::Pump();
        frames.push_back(hl::Capture(frame.GetSafeHwnd()));
        ++next;
      }
    }
    page->Destroy();
    frame.DestroyWindow();
    if (frames.empty()) continue;
    Image strip = Strip(frames);
    const std::string path = o.outDir + "/" + page->Name() + ".png";
    if (!hl::SavePng(strip, path.c_str())) {
      std::fprintf(stderr, "gallery: cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s (%zu frames)\n", path.c_str(), frames.size());
    sheetRows.push_back(frames[frames.size() > 1 ? 1 : 0]);  // one frame per page, early in its programme
  }
  if (!sheetRows.empty()) {
    const std::string sheet = o.outDir + "/gallery.png";
    hl::SavePng(Strip(sheetRows), sheet.c_str());
    std::printf("%s\n", sheet.c_str());
  }
  return 0;
}

int RunWindows(const Options& o) {
  std::vector<std::unique_ptr<gallery::Page>> pages;
  std::vector<std::unique_ptr<gallery::CPageFrame>> frames;
  for (gallery::PageFactory make : gallery::Pages()) {
    std::unique_ptr<gallery::Page> page(make());
    if (!o.only.empty() && o.only != page->Name()) continue;
    auto frame = std::make_unique<gallery::CPageFrame>();
    if (!frame->CreatePage(page.get(), TRUE)) continue;
    pages.push_back(std::move(page));
    frames.push_back(std::move(frame));
  }
  if (frames.empty()) return 1;
  // The framework's pump runs pre-translation, so tooltips see the relayed mouse moves.
  while (AfxPumpMessage()) {
  }
  for (auto& p : pages) p->Destroy();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = Parse(argc, argv);
  if (!o.video.empty()) {
    std::string error;
    if (!scopetool::OpenSource(o.video, "", 0, 0, error)) {
      std::fprintf(stderr, "gallery: --video: %s\n", error.c_str());
      return 1;
    }
    gallery::SetVideoFile(o.video);
  }
  if (o.window) {
    setenv("WINPORT_BACKEND", "sdl2", 1);
    return RunWindows(o);
  }
  return RunHeadless(o);
}
