#include "driver/entry.h"

#include <new>

#include "driver/batch_run.h"
#include "host/run_end.h"

namespace quillbit {

namespace {

int Report(Host& host, const std::string& text) {
  host.MsgBox(text, MessageKind::RunTimeError);
  return static_cast<int>(ExitStatus::RunTimeError);
}

}  // namespace

int RunProgram(Host& host) {
  try {
    RunBatch(host);
  } catch (const EndOfRun& end) {
    return static_cast<int>(end.status);
  } catch (const std::bad_alloc&) {
    return Report(host, "out of memory");
  } catch (const std::exception& error) {
    return Report(host, error.what());
  }
}

}  // namespace quillbit
