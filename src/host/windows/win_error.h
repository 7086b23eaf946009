// Readable reasons for failed Windows calls, for the run-time error report.
#pragma once

#include <windows.h>

#include <string>

namespace quillbit {

// The system's text for a Win32 error code (GetLastError), without the final period.
std::string SystemErrorText(DWORD error);

// Throws a run-time error "what: reason" for the calling thread's last Win32 error.
[[noreturn]] void FailWithLastError(const std::string& what);

}  // namespace quillbit
