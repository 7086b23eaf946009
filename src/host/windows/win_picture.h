// Pictures through the Windows Imaging Component: any format the system has a decoder
// for, turned into plain 0xAARRGGBB pixels so nothing of WIC reaches the core.
#pragma once

#include <wincodec.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/windows/win_com.h"

namespace quillbit {

class WicPicture {
 public:
  // Starts COM and the imaging factory; a failure is a run-time error.
  WicPicture();

  // Opens the picture at path, replacing the previous one; its size is known at once.
  void Open(const std::string& path);
  std::uint32_t Width() const { return width_; }
  std::uint32_t Height() const { return height_; }
  // Decodes every pixel of the open picture, row by row, as 0xAARRGGBB.
  std::vector<std::uint32_t> ReadPixels() const;

 private:
  void Decode(const std::string& path);

  ComSession com_;
  ComRef<IWICImagingFactory> factory_;
  // The decoders read from bytes_ through stream_ until the next Open.
  std::string bytes_;
  ComRef<IWICStream> stream_;
  ComRef<IWICFormatConverter> converted_;
  std::string path_;
  std::uint32_t width_ = 0;
  std::uint32_t height_ = 0;
};

}  // namespace quillbit
