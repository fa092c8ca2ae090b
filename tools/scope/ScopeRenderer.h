// The scope windows parvane-scope draws with, hosted headless: each chosen scope is a window of
// the image size fed from the scope graph, captured after every frame and written as PNG.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include <winport/afx.h>

#include "scopes/ScopeBaseWnd.h"
#include "scopes/VideoScopeGraph.h"
#include "tools/scope/FrameSource.h"

namespace scopetool {

enum class ScopeKind { Waveform, YC, Vector, Lightning, Histogram, Parade, RGBHisto };
// "waveform", "yc", ...; false for an unknown name.
bool ScopeByName(const std::string& name, ScopeKind& kind);
const char* ScopeName(ScopeKind kind);

struct RenderOptions {
  int width = 640, height = 360;
  int scale = 0;  // 0 code values, 1 percent, 2 millivolts
  bool markOut = false;
};

class ScopeRenderer {
 public:
  ScopeRenderer();
  ~ScopeRenderer();
  bool Create(const std::vector<ScopeKind>& kinds, const RenderOptions& options);
  void Feed(Frame& frame);
  // dir/<scope>_<index>.png for every scope; false (error set) when a file cannot be written.
  bool Save(const std::string& dir, long index, std::string& error);

 private:
  struct Scope {
    ScopeKind kind;
    std::unique_ptr<CScopeBaseWnd> wnd;
    CVideoScopeGraph* graph;
  };
  CWnd m_host;
  CVideoScopeGraph m_graph;    // luma mode: everything but the Y/C waveform
  CVideoScopeGraph m_graphYC;  // Y/C mode, only when that scope is chosen
  bool m_bYC = false;
  int m_nWidth = 0, m_nHeight = 0;  // of the images written
  std::vector<Scope> m_scopes;
};

}  // namespace scopetool
