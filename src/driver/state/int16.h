// The program's integers are 16-bit signed and every step is overflow-checked:
// the limits on picture sizes follow from that, so they must hold exactly.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "host/run_end.h"

namespace quillbit {

class Int16 {
 public:
  static constexpr int kMax = 32767;
  static constexpr int kMin = -32768;

  constexpr Int16() = default;
  // Explicit, so an int literal out of range cannot narrow into one unnoticed.
  explicit constexpr Int16(std::int16_t value) : value_(value) {}

  // Rounds a real to the nearest integer, halves to even; out of range is an overflow.
  static Int16 Round(double value) {
    double rounded = std::nearbyint(value);
    if (!(rounded >= kMin && rounded <= kMax)) throw Overflow(std::to_string(value));
    return FromInt(static_cast<int>(rounded));
  }
  // An int that must fit; out of range is an overflow.
  static Int16 FromInt(long long value) {
    if (value < kMin || value > kMax) throw Overflow(std::to_string(value));
    return Int16(static_cast<std::int16_t>(value));
  }

  constexpr int get() const { return value_; }

  friend Int16 operator+(Int16 a, Int16 b) { return FromInt(a.get() + b.get()); }
  friend Int16 operator-(Int16 a, Int16 b) { return FromInt(a.get() - b.get()); }
  friend Int16 operator*(Int16 a, Int16 b) {
    return FromInt(static_cast<long long>(a.get()) * b.get());
  }
  Int16& operator+=(Int16 b) { return *this = *this + b; }
  friend constexpr bool operator==(Int16 a, Int16 b) { return a.value_ == b.value_; }
  friend constexpr bool operator!=(Int16 a, Int16 b) { return a.value_ != b.value_; }
  friend constexpr bool operator<(Int16 a, Int16 b) { return a.value_ < b.value_; }
  friend constexpr bool operator<=(Int16 a, Int16 b) { return a.value_ <= b.value_; }

 private:
  static RunTimeError Overflow(const std::string& value) {
    return RunTimeError("overflow: " + value + " does not fit in 16 bits");
  }
  std::int16_t value_ = 0;
};

}  // namespace quillbit
