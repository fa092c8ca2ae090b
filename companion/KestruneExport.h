// Export macro of libKestruneU.so. The library itself builds with default visibility; the macro
// keeps its interface visible when a host compiles with -fvisibility=hidden.
#pragma once
#define KESTRUNE_API __attribute__((visibility("default")))
