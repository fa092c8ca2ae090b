// The headless harness: tests and offline tools drive the UI as a person would, with time under
// their control. Input enters the same routing as real input (capture, hit test, double-click
// timing), then Pump() runs.
#pragma once
#include "winport/base/Export.h"
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "winport/base/types.h"

namespace winport::headless {

struct WINPORT_API Options {
  int screenWidth = 1920, screenHeight = 1080;
};

// No windows, empty queues and timers, no scheduled actions, clock at 0, pointer at (0, 0).
// Selects the headless back end.
WINPORT_API void Reset(const Options& = {});
WINPORT_API unsigned Now();  // virtual milliseconds (GetTickCount)
// Handles all queued and sent messages and due paints; no time passes. A WM_QUIT it meets stays
// posted for the application's own loop.
WINPORT_API void Pump();
// Moves the clock to Now()+ms, stopping at every due timer and scheduled action in time order
// and handling messages between.
WINPORT_API void Advance(unsigned ms);
// Runs action when the clock reaches ms (also from inside a waiting GetMessage / WaitMessage).
WINPORT_API void At(unsigned ms, std::function<void()> action);

// x, y are client coordinates of hwnd; button 0 left, 1 right, 2 middle.
WINPORT_API void MouseMove(HWND, int x, int y);
WINPORT_API void MouseDown(HWND, int x, int y, int button = 0);
WINPORT_API void MouseUp(HWND, int x, int y, int button = 0);
WINPORT_API void Wheel(HWND, int x, int y, int delta);
// Gives hwnd the focus when it lacks it (as a click would); then the key's WM_KEYDOWN and
// WM_KEYUP go to the focus window.
WINPORT_API void KeyDown(HWND, unsigned vk);

struct WINPORT_API Image {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB
  uint32_t At(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height ? pixels[static_cast<std::size_t>(y) * width + x] : 0;
  }
};
// The client area as a screenshot shows it now: the window's surface with its visible children
// composed on top. Runs no paint (Pump first to see pending ones). Empty for a bad handle.
WINPORT_API Image Capture(HWND);
WINPORT_API bool SavePng(const Image&, const char* path);

// File and folder prompts (GetOpenFileNameW, GetSaveFileNameW, SHBrowseForFolderW) answered
// from a script. With nothing queued a prompt is cancelled; Reset() clears queue and record.
struct WINPORT_API PromptRecord {
  enum Kind { Open, Save, Folder };
  Kind kind;
  std::wstring title;
  std::wstring filter;    // up to its terminating empty string, each NUL shown as '|', e.g. L"Text|*.txt|"
  std::wstring fileName;  // initial file name
  std::wstring defExt;    // "" when none
  DWORD flags;            // OFN_* / BIF_* flags as handed over
  DWORD filterIndex;
  HWND owner;
  RECT ownerRect;         // the owner's window rectangle during the prompt; empty without an owner
  BOOL ownerEnabled;      // whether the owner was enabled during the prompt
};
WINPORT_API void QueuePromptAnswer(const std::wstring& path);  // the next prompt confirms this path
WINPORT_API void QueuePromptCancel();                           // the next prompt is cancelled
WINPORT_API std::vector<PromptRecord> Prompts();                // prompts since Reset(), oldest first

}  // namespace winport::headless
