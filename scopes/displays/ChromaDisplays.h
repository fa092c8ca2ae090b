// Internal: the two chroma displays, vector (U against V) and lightning (luma against U above
// and V below the centre). Both read the frame's chroma, counted once per frame while the frame
// is accumulated, or at drawing time for a display switched on after that.
#pragma once
#include <memory>

#include "companion/FastLog.h"
#include "scopes/YVYUAccumulate.h"
#include "scopes/displays/DrawTarget.h"

namespace scopes_detail {

class ChromaDisplays {
 public:
  // Tables for a frame counted in nSlices slices for the displays wanted; false when they
  // cannot be had (the displays then count at drawing time).
  bool Begin(int nSlices, bool bVector, bool bLightning);
  // Rows [r0, r1) of src into slice s's tables.
  void Accumulate(const RowSource& src, int r0, int r1, int s, const RowSink& sink);
  // Slice s adds its share of every other slice's entries into the frame's tables.
  void Collect(int s, int nSlices);
  // The counts are the frame's from now on.
  void End();
  // The counts are let go with the frame.
  void Reset() { m_counts.Forget(); }

  // frame: the current frame; nPairs: its pairs over all sampled rows.
  void DrawVector(const DrawTarget& t, const RowSource& frame, long long nPairs, float fGain, const CFastLog& log);
  void DrawLightning(const DrawTarget& t, const RowSource& frame, long long nPairs, bool bMarkOut,
                     const CFastLog& log);

 private:
  // Count tables belong to the frame they were counted from: a copy starts without them and
  // counts from the frame when it draws.
  class Counts {
   public:
    Counts() = default;
    Counts(const Counts&) {}
    Counts& operator=(const Counts&) {
      Forget();
      return *this;
    }
    bool Allocate(int nSlices);
    DWORD* Slice(int s) const;  // three tables: uv, yu, yv
    void Forget() { bUV = bYUV = false; }
    bool bUV = false, bYUV = false;  // counted for the vector, for the lightning display
    bool bVector = false, bLightning = false;  // wanted by the frame being counted

   private:
    std::unique_ptr<DWORD[]> m_frame;   // slice 0, and the frame's once collected
    std::unique_ptr<DWORD[]> m_slices;  // slices 1 .. n - 1
    int m_nSlices = 0;
  };

  struct VectorKey {
    int width, height;
    float gain;
    bool operator==(const VectorKey& o) const;
  };
  struct SizeKey {
    int a, b;
    bool operator==(const SizeKey&) const = default;
  };

  Counts m_counts;
  TableCache<VectorKey, SHORT> m_vectorXY;  // X of each U, then Y of each V
  TableCache<SizeKey, int> m_vectorRows;    // row offsets of a width x height target
  TableCache<SizeKey, int> m_lightX;        // by rectangle left and width
  TableCache<SizeKey, int> m_lightY;        // by rectangle height and row length
};

}  // namespace scopes_detail
