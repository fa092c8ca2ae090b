// AFmt: the audio format record the spectrum display is configured with, and its one-line
// description.
#pragma once
#include <cstddef>

#include "companion/KestruneExport.h"
#include "winport/base/CString.h"
#include "winport/base/types.h"

// Sample encodings, as in wave-file format tags.
enum AFmtTag : WORD { AFMT_TAG_PCM = 1, AFMT_TAG_FLOAT = 3 };

struct AFmt {
  WORD nChannels;       // byte 0
  WORD wBitsPerSample;  // byte 2
  DWORD nSampleRate;    // byte 4, Hz
  WORD wFormatTag;      // byte 8, AFmtTag
  WORD wReserved;
};
static_assert(offsetof(AFmt, nChannels) == 0 && offsetof(AFmt, nSampleRate) == 4 && sizeof(AFmt) == 12);

// "2 ch, 48000 Hz, 32-bit float" / "1 ch, 44100 Hz, 16-bit PCM"; the encoding part is left out
// when bits or tag are 0 or unknown ("2 ch, 48000 Hz"). A null record gives an empty string.
KESTRUNE_API CString Make_AFmt_String(const AFmt* pFmt);
