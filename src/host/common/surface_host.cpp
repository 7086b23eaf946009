#include "host/common/surface_host.h"

#include "host/common/argument_text.h"
#include "host/run_end.h"

namespace quillbit {

SurfaceHost::SurfaceHost(std::vector<std::string> arguments, Presentation& presentation)
    : arguments_(std::move(arguments)), presentation_(presentation) {}

std::optional<std::string> SurfaceHost::Command() { return QuoteArguments(arguments_); }

void SurfaceHost::MsgBox(const std::string& text, MessageKind kind) {
  presentation_.Show(text, kind);
}

double SurfaceHost::ScaleWidth() const { return width_; }

double SurfaceHost::ScaleHeight() const { return height_; }

std::uint32_t SurfaceHost::Point(double x, double y) const {
  const int column = static_cast<int>(x);
  const int row = static_cast<int>(y);
  if (column < 0 || row < 0 || column >= width_ || row >= height_ || pixels_.empty())
    throw RunTimeError("pixel (" + std::to_string(column) + ", " + std::to_string(row) +
                       ") lies outside the picture");
  const std::uint32_t argb =
      pixels_[static_cast<std::size_t>(row) * static_cast<std::size_t>(width_) +
              static_cast<std::size_t>(column)];
  return argb >> 24 == 0xFF ? argb & 0xFFFFFF : 0xFFFFFF;
}

void SurfaceHost::ResizeSurface(int width, int height) {
  width_ = width;
  height_ = height;
  pixels_.clear();
  notes_.clear();
}

void SurfaceHost::FillSurface(std::vector<std::uint32_t> pixels, std::vector<std::string> notes) {
  pixels_ = std::move(pixels);
  notes_ = std::move(notes);
}

}  // namespace quillbit
