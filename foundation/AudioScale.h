// CAudioScale: the piecewise-linear map between a level in dB and a position on a meter, and
// the ticks and labels drawn beside it. Points run from the loudest (index 0) to the quietest.
#pragma once
#include <winport/afx.h>

#include "foundation/TArray.h"
#include "foundation/Export.h"

class CDC;

struct ScaleItem {
  int nDB;     // level of this point in whole decibels
  int nValue;  // position of this point on the scale, in value units
};

// int underneath: a host may hand over any int, and the draw call refuses the unknown ones.
enum ASDSStyle : int {
  ASDS_NONE = 0,       // draw nothing
  ASDS_TEXTLEFT = 1,   // ticks along the right edge, labels to their left, right-aligned
  ASDS_TEXTRIGHT = 2,  // ticks along the left edge, labels to their right, left-aligned
};

class PARVANEU_API CAudioScale {
 public:
  explicit CAudioScale(int bFillDefault = 0);
  ~CAudioScale();
  CAudioScale(const CAudioScale& other);
  CAudioScale& operator=(const CAudioScale& other);

  void SetScale(ScaleItem* const pItems, int nCount);
  void FillDeftValue();

  int GetMaxDB() const;
  int GetMinDB() const;
  int GetDBRange() const;
  int GetMaxValue() const;
  int GetMinValue() const;
  int GetValueRange() const;

  double DB2Value(double dB) const;
  double Value2DB(double value) const;

  // Draws in the colours, font and background mode already selected into pDC.
  void Draw(CDC* pDC, const RECT& rect, int nInfDB, ASDSStyle nStyle, int nDBHigh, int nDBLow, int nTickLen) const;

  CTArray<ScaleItem> m_arrScale;
};
