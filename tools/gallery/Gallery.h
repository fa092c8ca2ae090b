// The gallery's page interface: each page creates its controls as children of a page window and
// feeds them from a built-in programme. Headless, the driver advances virtual time and saves
// frames to PNG; with --window it shows the page in a real window at the real clock.
#pragma once
#include <string>
#include <vector>

#include <winport/afx.h>

class CWnd;

namespace gallery {

class Page {
 public:
  virtual ~Page() = default;
  virtual const char* Name() const = 0;  // file-name friendly: "meters", "scope-traces"
  virtual SIZE ClientSize() const = 0;
  virtual void Create(CWnd* pParent) = 0;
  // Called every 20 ms of programme time (50 updates per second), starting at 0.
  virtual void Tick(unsigned ms) = 0;
  // Programme times (ms) at which the headless driver saves a frame into the page's strip.
  virtual std::vector<unsigned> SnapshotTimes() const { return {0, 500, 1000, 2000}; }
  virtual void Destroy() {}
};

// Real footage for the pages that show video (--video FILE); empty for the built-in programme.
void SetVideoFile(const std::string& path);
const std::string& VideoFile();

using PageFactory = Page* (*)();
bool RegisterPage(PageFactory factory);
const std::vector<PageFactory>& Pages();

}  // namespace gallery

// Registers a page class with a default constructor from its own source file.
#define GALLERY_REGISTER_PAGE(Class) \
  static const bool gallery_registered_##Class = ::gallery::RegisterPage([]() -> ::gallery::Page* { return new Class(); })
