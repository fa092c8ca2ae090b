// Export macro of libKestruneU.so. All three libraries of the project build with hidden visibility
// and mark what hosts may use, each with its own macro of this form (WINPORT_API, PARVANEU_API).
// On ELF the same attribute serves the library's build and its users.
#pragma once
#define KESTRUNE_API __attribute__((visibility("default")))
