#include "host/windows/win_com.h"

#include "host/run_end.h"
#include "host/windows/win_error.h"

namespace quillbit {

ComSession::ComSession() {
  const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  // RPC_E_CHANGED_MODE: COM already runs on this thread in the other model, which
  // the imaging component accepts just as well; only a real failure stops the run.
  if (result == RPC_E_CHANGED_MODE) return;
  CheckResult(result, "cannot start the Windows imaging component");
  mustUninitialize_ = true;
}

ComSession::~ComSession() {
  if (mustUninitialize_) CoUninitialize();
}

void CheckResult(HRESULT result, const std::string& what) {
  if (FAILED(result)) throw RunTimeError(what + ": " + ResultText(result));
}

}  // namespace quillbit
