// What the browser page gives the batch and takes from it. The page holds the pictures it was
// handed (dropped, chosen, or found in a chosen folder) and shows every message, picture and
// file as the batch produces them; web_bridge.cpp implements it over the page's JavaScript.
#pragma once

#include <memory>
#include <string>

#include "check/check_report.h"
#include "host/common/picture_file.h"
#include "host/common/presentation.h"

namespace quillbit {

// Messages reach the page through Show, in the batch's order, as they come.
class WebPage : public Presentation {
 public:
  // The picture file at path as the page was handed it; throws PictureFault with the
  // browser's reason when it cannot be read.
  virtual std::unique_ptr<PictureFile> OpenPicture(const std::string& path) = 0;
  // True when a file lay at path before the run: a picture handed over, or a file of the
  // chosen folder.
  virtual bool HasFile(const std::string& path) = 0;
  // A picture decoded, with what quillbit-check sees in it (its levels and findings); comes
  // before its information.
  virtual void ShowPicture(const CheckReport& report) = 0;
  // The header the batch wrote for the picture it is converting.
  virtual void ReceiveHeader(const std::string& path, const std::string& bytes) = 0;
  // The companion the batch installed beside the last picture.
  virtual void ReceiveCompanion(const std::string& path, const std::string& bytes) = 0;
};

}  // namespace quillbit
