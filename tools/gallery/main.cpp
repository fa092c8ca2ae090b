// parvane-gallery: shows every control at work. Headless (the default) it plays each page's
// programme on the virtual clock and writes a strip of frames per page plus a contact sheet;
// with --window it opens the pages in real windows and plays them at the real clock.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

#include <winport/afx.h>
#include <winport/headless.h>
#include <winport/window/Backend.h>

#include "tools/gallery/FfmpegAudio.h"
#include "tools/gallery/Gallery.h"
#include "tools/gallery/Options.h"
#include "tools/gallery/PageFrame.h"
#include "tools/gallery/Tiling.h"
#include "tools/scope/FrameSource.h"

namespace {

using gallery::Options;

std::vector<std::string> PageNames() {
  std::vector<std::string> names;
  for (gallery::PageFactory make : gallery::Pages()) {
    std::unique_ptr<gallery::Page> page(make());
    names.emplace_back(page->Name());
  }
  return names;
}

// The output folder exists (made if need be) and takes files; otherwise a message, not a throw.
bool PrepareOutDir(const std::string& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (!ec && access(dir.c_str(), W_OK) != 0) ec = std::error_code(errno, std::generic_category());
  if (ec) {
    std::fprintf(stderr, "parvane-gallery: cannot write to %s: %s\n", dir.c_str(), ec.message().c_str());
    return false;
  }
  return true;
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

// Every page on one sheet, in rows as the windows tile on a screen as wide as the sheet.
Image Sheet(const std::vector<Image>& pages) {
  constexpr int kWidth = 1800, kGap = 12;
  std::vector<SIZE> sizes;
  for (const Image& p : pages) sizes.push_back(SIZE{p.width, p.height});
  const std::vector<POINT> at = gallery::TilePositions(sizes, SIZE{kWidth, 1 << 20}, POINT{kGap, kGap}, kGap);
  Image sheet;
  for (size_t i = 0; i < pages.size(); ++i) {
    sheet.width = std::max<int>(sheet.width, at[i].x + pages[i].width + kGap);
    sheet.height = std::max<int>(sheet.height, at[i].y + pages[i].height + kGap);
  }
  sheet.pixels.assign(static_cast<size_t>(sheet.width) * sheet.height, 0x303030);
  for (size_t i = 0; i < pages.size(); ++i)
    for (int y = 0; y < pages[i].height; ++y)
      std::copy_n(pages[i].pixels.begin() + static_cast<std::ptrdiff_t>(y) * pages[i].width, pages[i].width,
                  sheet.pixels.begin() + static_cast<std::ptrdiff_t>(at[i].y + y) * sheet.width + at[i].x);
  return sheet;
}

int RunHeadless(const Options& o) {
  namespace hl = winport::headless;
  if (!PrepareOutDir(o.outDir)) return 1;
  std::vector<Image> sheetPages;
  for (gallery::PageFactory make : gallery::Pages()) {
    std::unique_ptr<gallery::Page> page(make());
    if (!o.only.empty() && o.only != page->Name()) continue;
    hl::Reset();
    gallery::CPageFrame frame;
    if (!frame.CreatePage(page.get(), FALSE)) {
      std::fprintf(stderr, "parvane-gallery: cannot create page %s\n", page->Name());
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
      std::fprintf(stderr, "parvane-gallery: cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s (%zu frames)\n", path.c_str(), frames.size());
    sheetPages.push_back(frames[frames.size() > 1 ? 1 : 0]);  // one frame per page, early in its programme
  }
  if (!sheetPages.empty()) {
    const std::string sheet = o.outDir + "/gallery.png";
    if (!hl::SavePng(Sheet(sheetPages), sheet.c_str())) {
      std::fprintf(stderr, "parvane-gallery: cannot write %s\n", sheet.c_str());
      return 1;
    }
    std::printf("%s\n", sheet.c_str());
  }
  return 0;
}

int RunWindows(const Options& o) {
  if (!winport::SelectBackend("sdl2")) {
    std::fprintf(stderr, "parvane-gallery: --window needs the SDL2 back end, which could not start\n");
    return 1;
  }
  std::vector<std::unique_ptr<gallery::Page>> pages;
  std::vector<SIZE> sizes;
  for (gallery::PageFactory make : gallery::Pages()) {
    std::unique_ptr<gallery::Page> page(make());
    if (!o.only.empty() && o.only != page->Name()) continue;
    sizes.push_back(gallery::CPageFrame::FrameSize(page->ClientSize()));
    pages.push_back(std::move(page));
  }
  const SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const std::vector<POINT> at = gallery::TilePositions(sizes, screen);
  std::vector<std::unique_ptr<gallery::CPageFrame>> frames;
  for (size_t i = 0; i < pages.size(); ++i) {
    auto frame = std::make_unique<gallery::CPageFrame>();
    if (!frame->CreatePage(pages[i].get(), TRUE, at[i])) {
      std::fprintf(stderr, "parvane-gallery: cannot open the window of page %s\n", pages[i]->Name());
      continue;
    }
    frames.push_back(std::move(frame));
  }
  if (frames.empty()) return 1;
  std::fprintf(stderr, "parvane-gallery: %zu page window%s open; close them or press Ctrl+C to end\n", frames.size(),
               frames.size() == 1 ? "" : "s");
  // The framework's pump runs pre-translation, so tooltips see the relayed mouse moves. The loop
  // ends when the last page window closes or the session asks the program to end (Ctrl+C).
  while (AfxPumpMessage()) {
  }
  for (auto& p : pages) p->Destroy();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> pages = PageNames();
  Options o;
  const std::string error = gallery::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), pages, o);
  if (!error.empty()) {
    std::fprintf(stderr, "parvane-gallery: %s\n(parvane-gallery --help lists the options and pages)\n", error.c_str());
    return 2;
  }
  if (!o.audio.empty() && !o.help) {
    // The file is decoded by the ffmpeg program on a pipe; without it there is nothing to play.
    if (!gallery::ProgramOnPath("ffmpeg")) {
      std::fprintf(stderr,
                   "parvane-gallery: --audio needs the ffmpeg program to decode %s, and ffmpeg is not on PATH.\n"
                   "Install it (scripts/setup.sh --bench does) or leave out --audio to hear the built-in programme.\n",
                   o.audio.c_str());
      return 2;
    }
    std::error_code ec;
    const auto kind = std::filesystem::status(o.audio, ec).type();
    const std::string why = kind == std::filesystem::file_type::not_found ? "no such file"
                            : kind != std::filesystem::file_type::regular  ? "not a regular file"
                                                                           : gallery::CFfmpegAudio::Check(o.audio);
    if (!why.empty()) {
      std::fprintf(stderr, "parvane-gallery: --audio %s: %s\n", o.audio.c_str(), why.c_str());
      return 1;
    }
    gallery::SetAudioFile(o.audio);
  }
  if (!o.video.empty() && !o.help) {
    // Opened once here so a missing file or a missing ffmpeg is said at once, not per frame.
    std::string why;
    std::unique_ptr<scopetool::FrameSource> source = scopetool::OpenSource(o.video, "", 0, 0, why);
    if (!source) {
      std::fprintf(stderr, "parvane-gallery: --video: %s\n", why.c_str());
      return 1;
    }
    gallery::SetVideoFile(o.video, std::move(source));
  }
  if (o.help) {
    std::fputs(gallery::Usage(pages).c_str(), stdout);
    return 0;
  }
  if (o.window) return RunWindows(o);
  return RunHeadless(o);
}
