// The headless harness's prompt script and its record of prompts: the provider the headless back
// end answers file and folder prompts with.
#include <deque>
#include <mutex>
#include <optional>

#include "winport/headless.h"
#include "winport/shell/PromptProvider.h"
#include "winport/window/User32.h"

namespace winport {
namespace {

struct Script {
  std::mutex mutex;
  std::deque<std::optional<std::wstring>> answers;  // nullopt: cancel
  std::vector<headless::PromptRecord> records;
};

Script& TheScript() {
  static Script* script = new Script;
  return *script;
}

// The filter as the record shows it, each NUL of the caller's list up to its closing empty
// string as '|'. A pair without a pattern only ends the list, so the text is recovered exactly.
std::wstring FilterText(const PromptRequest& request) {
  std::wstring out;
  for (const auto& [name, pattern] : request.filters) {
    out += name;
    out += L'|';
    if (!pattern.empty()) {
      out += pattern;
      out += L'|';
    }
  }
  return out;
}

headless::PromptRecord RecordOf(const PromptRequest& request) {
  headless::PromptRecord r{};
  r.kind = static_cast<headless::PromptRecord::Kind>(request.kind);
  r.title = request.title;
  r.filter = FilterText(request);
  r.fileName = request.fileName;
  r.defExt = request.defExt;
  r.flags = request.flags;
  r.filterIndex = request.filterIndex;
  r.owner = request.owner;
  r.ownerRect = RECT{0, 0, 0, 0};
  r.ownerEnabled = FALSE;
  if (request.owner && IsWindow(request.owner)) {
    GetWindowRect(request.owner, &r.ownerRect);
    r.ownerEnabled = IsWindowEnabled(request.owner);
  }
  return r;
}

class Scripted final : public PromptProvider {
 public:
  PromptAnswer Ask(const PromptRequest& request) override {
    headless::PromptRecord record = RecordOf(request);  // reads windows: not under the lock
    Script& s = TheScript();
    std::lock_guard lock(s.mutex);
    s.records.push_back(std::move(record));
    if (s.answers.empty()) return {};
    std::optional<std::wstring> next = std::move(s.answers.front());
    s.answers.pop_front();
    if (!next) return {};
    return PromptAnswer{true, *next};
  }
};

}  // namespace

namespace detail {  // declared in window/detail/Core.h

std::shared_ptr<PromptProvider> HeadlessPrompts() {
  static const auto provider = std::make_shared<Scripted>();
  return provider;
}

void ResetPrompts() {
  Script& s = TheScript();
  std::lock_guard lock(s.mutex);
  s.answers.clear();
  s.records.clear();
}

}  // namespace detail

namespace headless {

void QueuePromptAnswer(const std::wstring& path) {
  Script& s = TheScript();
  std::lock_guard lock(s.mutex);
  s.answers.emplace_back(path);
}

void QueuePromptCancel() {
  Script& s = TheScript();
  std::lock_guard lock(s.mutex);
  s.answers.emplace_back(std::nullopt);
}

std::vector<PromptRecord> Prompts() {
  Script& s = TheScript();
  std::lock_guard lock(s.mutex);
  return s.records;
}

}  // namespace headless
}  // namespace winport
