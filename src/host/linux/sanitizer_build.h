// Whether this build runs under AddressSanitizer. Two host pieces must behave
// differently there: ASan reserves terabytes of address space, so an address-space
// cap cannot work, and its reports must not vanish into captured standard error.
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
