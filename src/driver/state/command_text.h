// The argument text as the quoted file list uses it up from the front.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace quillbit {

// The whole text stays where it was put and only the start of the unconsumed rest
// moves, so taking a name off the front costs that name, not a copy of all that follows:
// the 100,000th name of a long list costs what the first did.
class CommandText {
 public:
  // Starts over with a new whole text.
  CommandText& operator=(std::string text) {
    text_ = std::move(text);
    start_ = 0;
    return *this;
  }

  // The unconsumed rest; valid until the text is assigned again.
  std::string_view Rest() const { return std::string_view(text_).substr(start_); }
  bool empty() const { return start_ == text_.size(); }
  // Forgets the first count characters of the rest, or all of it when it is shorter.
  void DropFront(std::size_t count) { start_ += std::min(count, text_.size() - start_); }

 private:
  std::string text_;
  std::size_t start_ = 0;
};

}  // namespace quillbit
