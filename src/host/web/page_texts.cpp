#include "host/web/page_texts.h"

#include "host/common/report_texts.h"

namespace quillbit {

std::string PageTexts() {
  const std::string path = "{path}";
  const std::string reason = "{reason}";
  return "pictureReaderFailed\t" + report_text::PictureReaderFailed(path, reason) + "\n" +
         "cannotWrite\t" + report_text::Because(report_text::CannotWrite(path), reason) + "\n";
}

}  // namespace quillbit
