// The one place where the end of a run and run-time errors are caught.
#pragma once

#include "host/host.h"

namespace quillbit {

// Runs the batch on host and returns the process exit status.
int RunProgram(Host& host);

}  // namespace quillbit
