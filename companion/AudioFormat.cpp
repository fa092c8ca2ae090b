#include "companion/AudioFormat.h"

CString Make_AFmt_String(const AFmt* pFmt) {
  CString s;
  if (!pFmt) return s;
  s.Format(L"%u ch, %u Hz", static_cast<unsigned>(pFmt->nChannels), static_cast<unsigned>(pFmt->nSampleRate));
  if (pFmt->wBitsPerSample != 0) {
    if (pFmt->wFormatTag == AFMT_TAG_FLOAT)
      s.AppendFormat(L", %u-bit float", static_cast<unsigned>(pFmt->wBitsPerSample));
    else if (pFmt->wFormatTag == AFMT_TAG_PCM)
      s.AppendFormat(L", %u-bit PCM", static_cast<unsigned>(pFmt->wBitsPerSample));
  }
  return s;
}
