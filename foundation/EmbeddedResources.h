// The table the build generates from resources/: one entry per embedded file.
#pragma once
#include <cstddef>

namespace parvaneu {

struct EmbeddedResource {
  const wchar_t* name;       // file name without extension: resource name, or digits for an id
  const wchar_t* extension;  // ".bmp", ".png", ...: decides the resource type
  const unsigned char* bytes;
  std::size_t size;
};

// Ends with an entry whose name is null.
extern const EmbeddedResource kEmbeddedResources[];

}  // namespace parvaneu
