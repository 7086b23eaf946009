// The little COM plumbing the imaging component needs: an owning interface pointer
// and the per-thread COM session.
#pragma once

#include <objbase.h>

#include <string>

namespace quillbit {

// Owns one reference to a COM interface; releases it when it goes.
template <typename Interface>
class ComRef {
 public:
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ComRef(ComRef&& other) noexcept : pointer_(other.pointer_) { other.pointer_ = nullptr; }
  ComRef& operator=(ComRef&& other) noexcept {
    if (this != &other) {
      Reset();
      pointer_ = other.pointer_;
      other.pointer_ = nullptr;
    }
    return *this;
  }
  ~ComRef() { Reset(); }

  Interface* operator->() const { return pointer_; }
  Interface* get() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // For the out-parameter of a creating call; drops what was held before.
  Interface** Receive() {
    Reset();
    return &pointer_;
  }
  void Reset() {
    if (pointer_) pointer_->Release();
    pointer_ = nullptr;
  }

 private:
  Interface* pointer_ = nullptr;
};

// COM for the calling thread, from construction to destruction.
class ComSession {
 public:
  ComSession();
  ComSession(const ComSession&) = delete;
  ComSession& operator=(const ComSession&) = delete;
  ~ComSession();

 private:
  bool mustUninitialize_ = false;
};

// Throws a run-time error "what: reason" when result reports a failure.
void CheckResult(HRESULT result, const std::string& what);

}  // namespace quillbit
