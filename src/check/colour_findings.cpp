#include "check/colour_findings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>

#include "check/sprite.h"

namespace quillbit {

namespace {

// Pixels of one colour (or of one level's colour at some alpha) and where the first is.
struct Group {
  std::size_t first = 0;
  int count = 0;
  std::uint32_t argb = 0;
  Level level = Level::Background;
};

int Channel(std::uint32_t rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFF); }

bool Close(std::uint32_t rgb, std::uint32_t level) {
  for (const int shift : {0, 8, 16})
    if (std::abs(Channel(rgb, shift) - Channel(level, shift)) > kCloseDistance) return false;
  return true;
}

std::optional<Level> LevelWithColour(std::uint32_t rgb, bool exact) {
  for (const Level level : {Level::Black, Level::DarkGrey, Level::LightGrey}) {
    const std::uint32_t colour = LevelColour(level);
    if (exact ? rgb == colour : Close(rgb, colour)) return level;
  }
  return std::nullopt;
}

std::string Hex(std::uint32_t rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
  return text;
}

std::string Where(const Group& group, int width) {
  const std::size_t row = group.first / static_cast<std::size_t>(width);
  const std::size_t column = group.first % static_cast<std::size_t>(width);
  return "(" + std::to_string(column) + ", " + std::to_string(row) + ")";
}

std::string PixelsText(const Group& group) {
  return std::to_string(group.count) + (group.count == 1 ? " pixel of " : " pixels of ") +
         Hex(group.argb);
}

std::string CountAsBackground(const Group& group) {
  return group.count == 1 ? " counts as background; " : " and more count as background; ";
}

std::string CloseText(const Group& group, const std::string& path, int width) {
  return path + ": " + PixelsText(group) + " at " + Where(group, width) + CountAsBackground(group) +
         LevelName(group.level) + " is " + Hex(LevelColour(group.level));
}

std::string TranslucentText(const Group& group, const std::string& path, int width) {
  const std::string alpha = group.count == 1 ? " with alpha " + std::to_string(group.argb >> 24)
                                             : std::string(" with alpha below 255");
  return path + ": " + PixelsText(group) + alpha + " at " + Where(group, width) +
         CountAsBackground(group) + "only opaque pixels count";
}

void Count(std::map<std::uint32_t, Group>& groups, std::uint32_t key, std::uint32_t argb,
           std::size_t index, Level level) {
  Group& group = groups[key];
  if (group.count++ == 0) group = {index, 1, argb, level};
}

std::vector<Group> ByFirstPixel(const std::map<std::uint32_t, Group>& groups) {
  std::vector<Group> sorted;
  sorted.reserve(groups.size());
  for (const auto& entry : groups) sorted.push_back(entry.second);
  std::sort(sorted.begin(), sorted.end(),
            [](const Group& a, const Group& b) { return a.first < b.first; });
  return sorted;
}

}  // namespace

std::vector<std::string> ColourFindings(const DecodedPicture& picture, const std::string& path) {
  std::map<std::uint32_t, Group> close;        // by colour
  std::map<std::uint32_t, Group> translucent;  // by the level's colour
  for (std::size_t i = 0; i < picture.argb.size(); ++i) {
    const std::uint32_t argb = picture.argb[i];
    const std::uint32_t alpha = argb >> 24;
    const std::uint32_t rgb = argb & 0xFFFFFF;
    if (alpha == 0xFF && !LevelWithColour(rgb, true)) {
      if (const auto level = LevelWithColour(rgb, false)) Count(close, rgb, argb, i, *level);
    } else if (alpha != 0 && alpha != 0xFF) {
      if (const auto level = LevelWithColour(rgb, true)) Count(translucent, rgb, argb, i, *level);
    }
  }
  std::vector<std::string> findings;
  const std::vector<Group> closeGroups = ByFirstPixel(close);
  for (std::size_t i = 0; i < closeGroups.size() && i < kCloseColoursNamed; ++i)
    findings.push_back(CloseText(closeGroups[i], path, picture.width));
  if (closeGroups.size() > kCloseColoursNamed) {
    findings.push_back(path + ": and " + std::to_string(closeGroups.size() - kCloseColoursNamed) +
                       " more colours close to a level count as background");
  }
  for (const Group& group : ByFirstPixel(translucent))
    findings.push_back(TranslucentText(group, path, picture.width));
  for (const std::string& note : picture.notes)
    findings.emplace_back(path).append(": ").append(note);
  return findings;
}

}  // namespace quillbit
