// The gallery's command line: what it accepts, and the message for what it does not.
#pragma once
#include <string>
#include <vector>

namespace gallery {

struct Options {
  std::string outDir = "out";
  std::string only;  // one page by name; empty for all
  std::string audio;  // a sound file for the spectrum and loudness pages; empty for the built-in programmes
  std::string video;  // footage for the scopes page; empty for the built-in pattern
  bool window = false;
  bool help = false;
};

// Fills `o` from the arguments after the program name. Returns "" when the line is good, else
// a one-line reason (unknown option, stray argument, missing value, unknown page).
std::string ParseOptions(const std::vector<std::string>& args, const std::vector<std::string>& pages, Options& o);
// The --help text: synopsis, options and the pages there are.
std::string Usage(const std::vector<std::string>& pages);

}  // namespace gallery
