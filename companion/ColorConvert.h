// Colour conversions between 32-bit RGB pixels and 8-bit 4:2:2 luma/chroma, and HSV.
//
// Pixel layouts (bytes in memory order):
//   SARGB  B, G, R, A        one pixel (the little-endian word 0xAARRGGBB)
//   VYUY   Y1, U, Y2, V      two horizontal pixels sharing one chroma sample
//   YVYU   U, Y1, V, Y2      the same pair in the other byte order
//
// Matrices: BT.601 (Kr = 0.299, Kb = 0.114), limited range: Y 16..235, U (Cb) and V (Cr)
// 16..240 centred on 128; RGB is full range 0..255. Integer fixed point, 16 fractional bits,
// rounded to nearest:
//   Y = 16  + (16829 R + 33039 G +  6416 B + 32768) >> 16
//   U = 128 + (-9714 R - 19070 G + 28784 B + 32768) >> 16
//   V = 128 + (28784 R - 24103 G -  4681 B + 32768) >> 16
//   R = clamp((76309 (Y-16)                 + 104597 (V-128) + 32768) >> 16)
//   G = clamp((76309 (Y-16) -  25675 (U-128) -  53279 (V-128) + 32768) >> 16)
//   B = clamp((76309 (Y-16) + 132201 (U-128)                 + 32768) >> 16)
// The chroma of a pair is taken from the sum of its two pixels (their mean, rounded once).
// Luma/chroma codes whose colour lies inside the RGB cube come back within +-1 per code after
// VYUY -> SARGB -> VYUY; RGB -> VYUY -> RGB comes back within +-2 per channel for pairs of equal
// pixels (the 8-bit limited-range codes cannot hold more).
//
// Frame geometry of ARGB2VYUY / VYUY2ARGB: pSrc is the first byte of the top row, nPitch the
// bytes from one row to the next, nSkip the rows left out after each sampled row. Sampled rows
// are 0, nSkip+1, 2(nSkip+1), ...; their count is nHeight / (nSkip+1), at least 1. Output rows
// are packed without gaps: sampled row r is written at pDst + r * (row size).
// Refused (nothing written): null pointers, nWidth or nHeight <= 0, nWidth above
// kMaxConvertWidth, a pitch smaller than the bytes read from one source row, and a frame whose
// extent (first byte to the last byte read) or whose output passes kMaxConvertFrameBytes, which
// no real frame reaches. A negative nSkip counts as 0; a skip at or past nHeight samples the first row only.
#pragma once
#include <cstddef>

#include "companion/KestruneExport.h"
#include "winport/base/types.h"

inline constexpr long kMaxConvertWidth = 1L << 28;
inline constexpr long kMaxConvertFrameBytes = 1L << 40;

// SARGB -> VYUY. Writes nWidth / 2 units per sampled row; unit i is made from pixels 2i and
// 2i + 1. An odd last pixel is ignored. Reads nWidth * 4 bytes per row (the minimum pitch).
KESTRUNE_API void ARGB2VYUY(const void* pSrc, long nWidth, long nHeight, long nPitch, long nSkip,
                            void* pDst);

// VYUY -> SARGB (alpha 255). Writes nWidth pixels per sampled row. Reads (nWidth / 2) * 4
// bytes per row (the minimum pitch); for an odd width the last pixel repeats the last pair's
// right pixel (Y2 with the pair's chroma), and a one-pixel-wide row, having no pair, is black.
KESTRUNE_API void VYUY2ARGB(const void* pSrc, long nWidth, long nHeight, long nPitch, long nSkip,
                            void* pDst);

// SARGB -> YVYU for one row of nCount pixels: nCount / 2 records (U, Y1, V, Y2).
KESTRUNE_API void ARGB2YVYU(const void* pSrc, int nCount, void* pDst);

// COLORREF -> hue in degrees [0, 360), saturation and value 0..1. Greys have hue 0 and
// saturation 0.
KESTRUNE_API void RGB2HSV(COLORREF cr, float& h, float& s, float& v);

// Hue in degrees (any value, taken modulo 360), saturation and value 0..1 (clamped; NaN
// counts as 0) -> components 0..255, rounded to nearest.
KESTRUNE_API void HSV2RGB(float h, float s, float v, int& r, int& g, int& b);
