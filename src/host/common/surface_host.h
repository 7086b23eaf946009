// What the Linux and Windows hosts share: the argument text, messages through a
// presentation, and the picture surface the conversion reads with Point.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/common/presentation.h"
#include "host/host.h"

namespace quillbit {

class SurfaceHost : public Host {
 public:
  SurfaceHost(std::vector<std::string> arguments, Presentation& presentation);

  std::optional<std::string> Command() override;
  void MsgBox(const std::string& text, MessageKind kind) override;
  double ScaleWidth() const override;
  double ScaleHeight() const override;
  std::uint32_t Point(double x, double y) const override;
  // The loaded picture's ARGB pixels as decoded, alpha kept; empty until they are read.
  const std::vector<std::uint32_t>& Pixels() const { return pixels_; }
  // What the reader said composing the picture did to its levels (Picture::notes).
  const std::vector<std::string>& Notes() const { return notes_; }

 protected:
  // An empty surface of the picture's size; the pixels may follow later.
  void ResizeSurface(int width, int height);
  // ARGB pixels, row by row from the top, width x height of them, and the reader's notes.
  void FillSurface(std::vector<std::uint32_t> pixels, std::vector<std::string> notes = {});

 private:
  std::vector<std::string> arguments_;
  Presentation& presentation_;
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
  std::vector<std::string> notes_;
};

}  // namespace quillbit
