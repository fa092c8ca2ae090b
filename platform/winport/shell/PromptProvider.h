// Where file and folder prompts are answered: by default the headless script under the headless
// back end; otherwise the desktop's dialog helper (zenity, else kdialog) when a display is
// present; otherwise every prompt is cancelled.
#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "winport/base/types.h"

namespace winport {

struct PromptRequest {
  enum Kind { Open, Save, Folder };
  Kind kind = Open;
  std::wstring title;
  std::vector<std::pair<std::wstring, std::wstring>> filters;  // name, patterns (';'-separated)
  DWORD filterIndex = 0;                                       // 1-based, 0 for none
  std::wstring fileName;                                       // initial name or folder
  std::wstring initialDir;
  std::wstring defExt;
  DWORD flags = 0;
  HWND owner = nullptr;
};

struct PromptAnswer {
  bool confirmed = false;
  std::wstring path;
  bool expired = false;  // a desktop helper was still asking when its deadline passed
};

class PromptProvider {
 public:
  virtual ~PromptProvider() = default;
  virtual PromptAnswer Ask(const PromptRequest& request) = 0;
};

// Null restores the default choice.
void SetPromptProvider(std::shared_ptr<PromptProvider> provider);
struct DesktopPromptOptions {
  unsigned deadlineMs = 0;  // 0: wait for the person; otherwise end the helper then (cancelled)
};
// The desktop helper found on PATH; null without a helper or without a display.
std::shared_ptr<PromptProvider> MakeDesktopPromptProvider(const DesktopPromptOptions& options = {});
// The command line the helper ("zenity" or "kdialog") gets for a request.
std::vector<std::string> DesktopHelperCommand(const std::string& helper, const PromptRequest& request);

}  // namespace winport
