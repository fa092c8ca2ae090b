#include "tools/gallery/Options.h"

#include <algorithm>

namespace gallery {

namespace {

// "--out DIR" and "--out=DIR" alike; false when the value is missing.
bool TakeValue(const std::vector<std::string>& args, size_t& i, const std::string& name, std::string& value,
               bool& matched) {
  const std::string& a = args[i];
  matched = false;
  if (a == name) {
    matched = true;
    if (i + 1 >= args.size() || args[i + 1].empty() || args[i + 1].rfind("--", 0) == 0) return false;
    value = args[++i];
    return true;
  }
  if (a.rfind(name + "=", 0) == 0) {
    matched = true;
    value = a.substr(name.size() + 1);
    return !value.empty();
  }
  return true;
}

}  // namespace

std::string ParseOptions(const std::vector<std::string>& args, const std::vector<std::string>& pages, Options& o) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool matched = false;
    if (a == "--help" || a == "-h") {
      o.help = true;
      continue;
    }
    if (a == "--window") {
      o.window = true;
      continue;
    }
    if (!TakeValue(args, i, "--out", o.outDir, matched)) return "--out needs a folder";
    if (matched) continue;
    if (!TakeValue(args, i, "--audio", o.audio, matched)) return "--audio needs a file";
    if (matched) continue;
    if (!TakeValue(args, i, "--video", o.video, matched)) return "--video needs a file";
    if (matched) continue;
    if (!TakeValue(args, i, "--page", o.only, matched)) return "--page needs a page name";
    if (matched) {
      if (std::find(pages.begin(), pages.end(), o.only) == pages.end()) return "unknown page '" + o.only + "'";
      continue;
    }
    if (a.size() > 1 && a[0] == '-') return "unknown option '" + a + "'";
    return "unexpected argument '" + a + "'";
  }
  return {};
}

std::string Usage(const std::vector<std::string>& pages) {
  std::string u =
      "usage: parvane-gallery [--out DIR] [--page NAME] [--window] [--audio FILE] [--video FILE]\n"
      "Shows every control at work, fed from built-in signals.\n"
      "\n"
      "  --out DIR    folder for the PNG strips and the contact sheet (default: out)\n"
      "  --page NAME  only this page\n"
      "  --window     open the pages in real windows (SDL2) instead of writing PNGs\n"
      "  --audio FILE feed the spectrum and loudness pages from a sound file (decoded by ffmpeg)\n"
      "  --video FILE feed the scopes page from footage (.y4m, or decoded by the ffmpeg program)\n"
      "  --help, -h   this text\n"
      "\n"
      "pages:\n";
  for (const std::string& p : pages) u += "  " + p + "\n";
  return u;
}

}  // namespace gallery
