#include "tools/gallery/Gallery.h"

#include <memory>

namespace gallery {

namespace {
std::vector<PageFactory>& Registry() {
  static std::vector<PageFactory> pages;
  return pages;
}
// Deletes itself with its window, the framework's way for windows nobody else holds.
class CLabel : public CStatic {
 protected:
  void PostNcDestroy() override { delete this; }
};

CFont& LabelFont() {
  static CFont font;
  if (!font.GetSafeHandle()) font.CreatePointFont(80, L"Tahoma");
  return font;
}

}  // namespace

void AddLabel(CWnd* pParent, const RECT& rc, LPCWSTR text) {
  auto label = std::make_unique<CLabel>();
  if (!label->Create(text, WS_CHILD | WS_VISIBLE | SS_LEFT, rc, pParent)) return;
  label->SetFont(&LabelFont(), FALSE);
  label.release();  // owned by its window from here on
}

bool RegisterPage(PageFactory factory) {
  Registry().push_back(factory);
  return true;
}

const std::vector<PageFactory>& Pages() { return Registry(); }

}  // namespace gallery
