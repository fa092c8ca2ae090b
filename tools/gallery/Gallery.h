// The gallery's page interface: each page creates its controls as children of a page window and
// feeds them from a built-in programme. Headless, the driver advances virtual time and saves
// frames to PNG; with --window it shows the page in a real window at the real clock.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include <winport/afx.h>

class CWnd;
namespace scopetool {
class FrameSource;
}

namespace gallery {

class Page {
 public:
  virtual ~Page() = default;
  virtual const char* Name() const = 0;  // file-name friendly: "meters", "scope-traces"
  // What the title band of the page shows ("Level meters").
  virtual const char* Title() const { return Name(); }
  virtual SIZE ClientSize() const = 0;
  virtual void Create(CWnd* pParent) = 0;
  // Called every 20 ms of programme time (50 updates per second), starting at 0.
  virtual void Tick(unsigned ms) = 0;
  // How often the page updates in a real window (a multiple of 20 ms): the video pages at 25
  // frames a second, as footage runs.
  virtual unsigned LivePeriodMs() const { return 20; }
  // Programme times (ms) at which the headless driver saves a frame into the page's strip.
  virtual std::vector<unsigned> SnapshotTimes() const { return {0, 500, 1000, 2000}; }
  virtual void Destroy() {}
};

// A caption naming a control, as a static text child of the page; it lives as long as its parent.
void AddLabel(CWnd* pParent, const RECT& rc, LPCWSTR text);
// Height of one caption line.
constexpr int kLabelHeight = 16;

using PageFactory = Page* (*)();
bool RegisterPage(PageFactory factory);
const std::vector<PageFactory>& Pages();

// --audio FILE: pages that play sound decode this file instead of their built-in programme.
void SetAudioFile(const std::string& path);
const std::string& AudioFile();
// Whether a program of that name can be run from PATH.
bool ProgramOnPath(const char* name);
// The library's resource files as installed beside the program (share/ParvaneU/resources).
std::string ResourceDir();
// --video FILE: the scope pages show this footage instead of their built-in pattern. `opened`
// is the source as the command line check opened it: the first page takes it, so a stream that
// can be read only once (standard input, "-") is not read twice.
void SetVideoFile(const std::string& path, std::unique_ptr<scopetool::FrameSource> opened);
const std::string& VideoFile();
// The footage from its start: the source the check opened while nobody has taken it, else the
// file opened again; null for standard input once taken, or when nothing can be read.
std::unique_ptr<scopetool::FrameSource> OpenVideo();

}  // namespace gallery

// Registers a page class with a default constructor from its own source file.
#define GALLERY_REGISTER_PAGE(Class) \
  static const bool gallery_registered_##Class = ::gallery::RegisterPage([]() -> ::gallery::Page* { return new Class(); })
