// Export macro of libParvaneU.so: everything else the library builds has hidden visibility.
#pragma once
#if defined(PARVANEU_BUILDING)
#define PARVANEU_API __attribute__((visibility("default")))
#else
#define PARVANEU_API __attribute__((visibility("default")))
#endif
