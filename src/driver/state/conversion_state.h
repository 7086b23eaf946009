// The conversion state: what every stage of one picture reads and writes.
// Stages pass nothing to each other directly; everything goes through here.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "driver/state/command_text.h"
#include "driver/state/int16.h"
#include "driver/state/one_based_array.h"
#include "host/host.h"

namespace quillbit {

struct ConversionState {
  CommandText strCommand;                 // unconsumed rest of the argument text
  std::unique_ptr<FileSystem> fsoFiles;   // created at first use, kept for the run
  OneBasedArray<std::uint8_t> bytPlane1;  // plane-1 bit of each pixel, 0 or 1
  OneBasedArray<std::uint8_t> bytPlane2;  // plane-2 bit of each pixel, 0 or 1
  OneBasedArray<Int16> intNibbles1;       // plane 1, four pixels per element
  OneBasedArray<Int16> intNibbles2;       // plane 2, four pixels per element
  std::string strSpriteType;              // "8", "16", "32" or "other"
  Int16 intHeight;
  Int16 intWidth;
  bool blnGrey = false;  // a grey pixel occurs in the current picture
};

// The run's file-system object, created on first use.
inline FileSystem& FsoFiles(ConversionState& state, Host& host) {
  if (!state.fsoFiles) state.fsoFiles = host.CreateFileSystem();
  return *state.fsoFiles;
}

}  // namespace quillbit
