// The headless prompt script and the record of prompts.
#include <deque>
#include <mutex>
#include <optional>

#include "winport/headless.h"
#include "winport/shell/PromptProvider.h"

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

}  // namespace

namespace detail {

void ResetPrompts() {
  Script& s = TheScript();
  std::lock_guard lock(s.mutex);
  s.answers.clear();
  s.records.clear();
}

void RecordPrompt(const headless::PromptRecord& record) {
  Script& s = TheScript();
  std::lock_guard lock(s.mutex);
  s.records.push_back(record);
}

PromptAnswer AskScripted(const PromptRequest&) {
  Script& s = TheScript();
  std::lock_guard lock(s.mutex);
  if (s.answers.empty()) return {};
  std::optional<std::wstring> next = std::move(s.answers.front());
  s.answers.pop_front();
  if (!next) return {};
  return PromptAnswer{true, *next};
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
