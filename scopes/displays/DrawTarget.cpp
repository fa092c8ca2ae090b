#include "scopes/displays/DrawTarget.h"

#include "scopes/ScopeGeometry.h"

namespace scopes_detail {

std::optional<DrawTarget> CheckTarget(DWORD* pBuf, int nStep, int nRows, const CRect& rc) {
  if (!TargetOk(pBuf, nStep, nRows) || !RectOk(rc)) return std::nullopt;
  return DrawTarget{pBuf, nStep, nRows, rc};
}

std::optional<DrawTarget> CheckTarget(DWORD* pBuf, int nWidth, int nHeight) {
  if (!TargetOk(pBuf, nWidth, nHeight)) return std::nullopt;
  return DrawTarget{pBuf, nWidth, nHeight, CRect(0, 0, nWidth, nHeight)};
}

}  // namespace scopes_detail
