// Arrays of the conversion state are indexed from 1 to their upper bound,
// and every access is checked: a stray index is a fault, never a silent read.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "driver/state/int16.h"
#include "host/run_end.h"

namespace quillbit {

template <typename T>
class OneBasedArray {
 public:
  // Discards the contents and makes elements 1 to upper, each T{}.
  void ReDim(Int16 upper) {
    items_.assign(upper.get() > 0 ? static_cast<std::size_t>(upper.get()) : 0, T{});
  }

  // The upper bound (0 for an empty array).
  Int16 UBound() const { return Int16(static_cast<std::int16_t>(items_.size())); }

  T& operator()(Int16 index) { return items_[Checked(index)]; }
  const T& operator()(Int16 index) const { return items_[Checked(index)]; }

 private:
  std::size_t Checked(Int16 index) const {
    if (index.get() < 1 || static_cast<std::size_t>(index.get()) > items_.size())
      throw RunTimeError("subscript out of range: " + std::to_string(index.get()));
    return static_cast<std::size_t>(index.get() - 1);
  }
  std::vector<T> items_;
};

}  // namespace quillbit
