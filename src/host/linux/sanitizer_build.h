// Whether this build runs under AddressSanitizer. ASan reserves terabytes of address
// space up front, so the decoding memory cap, an address-space limit, is left off there.
#pragma once

// GCC says so with a macro, clang through __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define QUILLBIT_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLBIT_ASAN 1
#endif
#endif
#ifndef QUILLBIT_ASAN
#define QUILLBIT_ASAN 0
#endif
