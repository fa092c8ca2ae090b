// CBuf32Draw: an off-screen image of 32-bit pixels 0x00RRGGBB (bytes B, G, R, 0), rows packed
// top to bottom without gaps. Drawing calls are clipped to the buffer; on an empty buffer
// they do nothing.
#pragma once
#include <cstddef>
#include <memory>

#include "companion/KestruneExport.h"
#include "winport/base/types.h"

class CDC;

class KESTRUNE_API CBuf32Draw {
 public:
  CBuf32Draw() = default;
  CBuf32Draw(const CBuf32Draw&) = delete;
  CBuf32Draw& operator=(const CBuf32Draw&) = delete;

  // Allocates w x h pixels cleared to 0 (the old image is dropped). FALSE, and the buffer left
  // empty, for non-positive sizes or an image over 2^28 pixels.
  BOOL Create(int w, int h);
  void Release();

  int Width() const { return m_nWidth; }
  int Height() const { return m_nHeight; }
  DWORD* Buf() { return m_pBuf.get(); }
  const DWORD* Buf() const { return m_pBuf.get(); }

  void FillSolidRect(int x, int y, int w, int h, DWORD px);
  // len pixels from (x, top) downward.
  void _VLine(int x, int top, int len, DWORD px);
  // Copies the w x h block at (sx, sy) of the buffer to (x, y) of the DC; the block is clipped
  // to the buffer first.
  void DrawOut(CDC* pDC, int x, int y, int w, int h, int sx, int sy);

 private:
  std::unique_ptr<DWORD[]> m_pBuf;
  int m_nWidth = 0;
  int m_nHeight = 0;
};

// Clears bytes; a null pointer or a zero count does nothing.
KESTRUNE_API void _MMX_ZeroMem(void* p, std::size_t bytes);
