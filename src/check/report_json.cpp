#include "check/report_json.h"

#include <nlohmann/json.hpp>

#include "host/common/presentation.h"

namespace quillbit {

namespace {

using Json = nlohmann::ordered_json;

std::vector<std::string> Lines(const std::string& message) {
  std::vector<std::string> lines;
  if (message.empty()) return lines;
  const std::string text = WithLineFeeds(message);
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  lines.push_back(text.substr(start));
  return lines;
}

void AddSprite(Json& json, const Sprite& sprite) {
  std::string levels(sprite.cells.size(), '0');
  for (std::size_t i = 0; i < levels.size(); ++i)
    levels[i] = static_cast<char>('0' + static_cast<int>(sprite.cells[i]));
  json["width"] = sprite.width;
  json["height"] = sprite.height;
  json["levels"] = levels;
  Json& counts = json["counts"] = Json::object();
  const LevelCounts numbers = CountLevels(sprite);
  for (std::size_t i = 0; i < kLevels.size(); ++i) counts[LevelName(kLevels[i])] = numbers[i];
}

const char* StateName(HeaderState state) {
  switch (state) {
    case HeaderState::NotWrittenYet: return "not written yet";
    case HeaderState::UpToDate: return "up to date";
    case HeaderState::OutOfDate: break;
  }
  return "out of date";
}

void AddPicture(Json& json, const PictureCheck& check) {
  json["kind"] = "picture";
  json["information"] = Lines(check.information);
  AddSprite(json, check.sprite);
  json["findings"] = check.findings;
  if (check.stop) json["stop"] = Lines(*check.stop);
  if (check.header) {
    Json& header =
        json["header"] = {{"path", check.header->path}, {"state", StateName(check.header->state)}};
    if (check.header->state == HeaderState::OutOfDate)
      header["difference"] = check.header->difference;
  }
  if (check.shorterName)
    json["shorterName"] = {{"written", check.shorterName->written},
                           {"picture", check.shorterName->picture},
                           {"header", check.shorterName->header}};
}

void AddHeaderFile(Json& json, const HeaderFileCheck& check) {
  json["kind"] = "header";
  if (!check.contents) {
    json["problem"] = check.problem;
    return;
  }
  json["arrays"] = check.contents->base;
  json["bitplanes"] = check.contents->grey ? 2 : 1;
  AddSprite(json, check.contents->sprite);
}

}  // namespace

std::string ReportJson(const CheckReport& report) {
  Json json = {{"path", report.path}};
  if (report.picture) AddPicture(json, *report.picture);
  if (report.header) AddHeaderFile(json, *report.header);
  if (!report.picture && !report.header) json["kind"] = "unreadable";
  if (!report.unreadable.empty()) json["unreadable"] = report.unreadable;
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace quillbit
