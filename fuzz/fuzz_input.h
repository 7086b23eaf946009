// Takes values off the front of a fuzz input; an input that runs out gives zeros.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillbit::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() << 8 | Byte()); }
  // Up to maxLength bytes, as many as the next byte says.
  std::string Text(std::size_t maxLength) {
    std::string text;
    for (std::size_t length = Byte() % (maxLength + 1); length > 0 && at_ < size_; --length)
      text += static_cast<char>(Byte());
    return text;
  }
  // What is left, all of it.
  std::string Rest() {
    std::string rest(reinterpret_cast<const char*>(data_ + at_), size_ - at_);
    at_ = size_;
    return rest;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace quillbit::fuzz
