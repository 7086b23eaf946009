#include "host/windows/win_host.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "host/common/report_texts.h"
#include "host/run_end.h"
#include "host/windows/win_message_box.h"
#include "host/windows/win_text.h"
#include "temp_folder.h"

namespace quillbit::testing {
namespace {

using Rows = std::vector<std::vector<std::uint32_t>>;  // 0xAARRGGBB

void Little(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
}

// Bottom-up 32-bit pixels with alpha, as BMP and icon images store them.
std::string BottomUpBgra(const Rows& rows) {
  std::string pixels;
  for (auto row = rows.rbegin(); row != rows.rend(); ++row)
    for (std::uint32_t pixel : *row) Little(pixels, pixel, 4);
  return pixels;
}

// A 24-bit BMP: no alpha, so every pixel is opaque.
std::string Bmp(const Rows& rows) {
  const auto width = static_cast<std::uint32_t>(rows[0].size());
  const auto height = static_cast<std::uint32_t>(rows.size());
  const std::uint32_t stride = (width * 3 + 3) & ~3u;
  std::string pixels;
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    for (std::uint32_t pixel : *row) Little(pixels, pixel, 3);
    pixels.append(stride - width * 3, '\0');
  }
  std::string file = "BM";
  Little(file, 54 + static_cast<std::uint32_t>(pixels.size()), 4);
  Little(file, 0, 4);
  Little(file, 54, 4);
  for (std::uint32_t value : {40u, width, height}) Little(file, value, 4);
  Little(file, 1, 2);
  Little(file, 24, 2);
  for (int i = 0; i < 6; ++i) Little(file, 0, 4);
  return file + pixels;
}

// An icon file with 32-bit images (alpha kept) in the order given.
std::string Icon(const std::vector<Rows>& images) {
  std::string directory;
  Little(directory, 0, 2);
  Little(directory, 1, 2);
  Little(directory, static_cast<std::uint32_t>(images.size()), 2);
  std::string data;
  for (const Rows& rows : images) {
    const auto width = static_cast<std::uint32_t>(rows[0].size());
    const auto height = static_cast<std::uint32_t>(rows.size());
    std::string image;
    for (std::uint32_t value : {40u, width, height * 2}) Little(image, value, 4);
    Little(image, 1, 2);
    Little(image, 32, 2);
    for (int i = 0; i < 6; ++i) Little(image, 0, 4);
    image += BottomUpBgra(rows) + std::string(((width + 31) / 32) * 4 * height, '\0');
    directory += static_cast<char>(width % 256);
    directory += static_cast<char>(height % 256);
    Little(directory, 0, 2);
    Little(directory, 1, 2);
    Little(directory, 32, 2);
    Little(directory, static_cast<std::uint32_t>(image.size()), 4);
    Little(directory, static_cast<std::uint32_t>(6 + 16 * images.size() + data.size()), 4);
    data += image;
  }
  return directory + data;
}

class WinHostTest : public ::testing::Test {
 protected:
  TempFolder folder;
  TerminalPresentation terminal{false};
  WinHost host{{}, terminal};

  // Loads name and returns every pixel as Point reads it, row by row.
  std::vector<std::uint32_t> Points(const std::string& name) {
    host.PreparePictureSurface();
    host.LoadPicture(folder.Path(name));
    host.Refresh();
    std::vector<std::uint32_t> points;
    for (int y = 0; y < static_cast<int>(host.ScaleHeight()); ++y)
      for (int x = 0; x < static_cast<int>(host.ScaleWidth()); ++x)
        points.push_back(host.Point(x, y));
    return points;
  }
  std::string LoadError(const std::string& name) {
    host.PreparePictureSurface();
    try {
      host.LoadPicture(folder.Path(name));
      host.Refresh();
    } catch (const RunTimeError& error) {
      return error.what();
    }
    ADD_FAILURE() << name << " loaded";
    return "";
  }
};

TEST_F(WinHostTest, BmpPixelsReadBackExactlyRowByRow) {
  folder.Write("s.bmp", Bmp({{0x000000, 0xAAAAAA, 0x555555, 0xFFFFFF}, {0x123456, 0, 0, 0}}));
  EXPECT_EQ(Points("s.bmp"), (std::vector<std::uint32_t>{0x000000, 0xAAAAAA, 0x555555, 0xFFFFFF,
                                                         0x123456, 0, 0, 0}));
  EXPECT_EQ(host.ScaleWidth(), 4.0);
  EXPECT_EQ(host.ScaleHeight(), 2.0);
}

TEST_F(WinHostTest, IconGivesItsLargestImageAndNotFullyOpaqueIsWhite) {
  const Rows small(4, std::vector<std::uint32_t>(4, 0xFF000000));  // 16 pixels lose to 24
  const Rows large = {{0xFF000000, 0x80000000, 0x00000000, 0xFFAAAAAA, 0xFE555555, 0xFF555555,
                       0x00AAAAAA, 0xFF000000},
                      std::vector<std::uint32_t>(8, 0xFFAAAAAA),
                      std::vector<std::uint32_t>(8, 0xFF555555)};
  const Rows wide(1, std::vector<std::uint32_t>(9, 0xFF000000));  // 9 pixels lose to 24
  folder.Write("i.ico", Icon({small, large, wide}));
  const std::vector<std::uint32_t> points = Points("i.ico");
  EXPECT_EQ(host.ScaleWidth(), 8.0);
  EXPECT_EQ(host.ScaleHeight(), 3.0);
  ASSERT_EQ(points.size(), 24u);
  EXPECT_EQ(std::vector<std::uint32_t>(points.begin(), points.begin() + 8),
            (std::vector<std::uint32_t>{0x000000, 0xFFFFFF, 0xFFFFFF, 0xAAAAAA, 0xFFFFFF, 0x555555,
                                        0xFFFFFF, 0x000000}));
  EXPECT_EQ(points[8], 0xAAAAAAu);
  EXPECT_EQ(points[23], 0x555555u);
}

TEST_F(WinHostTest, PixelsAreReadableOnceLoadedAndPointsOutsideFail) {
  folder.Write("s.bmp", Bmp({{0, 0xAAAAAA}}));
  host.PreparePictureSurface();
  host.LoadPicture(folder.Path("s.bmp"));
  EXPECT_EQ(host.ScaleWidth(), 2.0);
  EXPECT_EQ(host.Point(1, 0), 0xAAAAAAu);
  EXPECT_THROW(host.Point(2, 0), RunTimeError);
  EXPECT_THROW(host.Point(0, 1), RunTimeError);
  EXPECT_THROW(host.Point(-1, 0), RunTimeError);
}

// The reader checks the size its header claims before it decodes anything: a claim beyond
// the limits gets the overflow report, though no pixel data follows.
TEST_F(WinHostTest, ClaimedSizesAreCheckedBeforeDecoding) {
  std::string huge = Bmp({{0}}).substr(0, 54);
  huge.replace(18, 8, std::string("\x30\x75\0\0\x30\x75\0\0", 8));  // 30000 x 30000
  folder.Write("huge.bmp", huge);
  const std::string error = LoadError("huge.bmp");
  const std::string report =
      "overflow: picture \"" + folder.Path("huge.bmp") + "\" is 30000 x 30000 pixels;";
  EXPECT_EQ(error.rfind(report, 0), 0u) << error;
}

TEST_F(WinHostTest, UnreadablePicturesNameTheirPath) {
  folder.Write("text.png", "not a picture\n");
  folder.Write("empty.png", "");
  folder.Write("cut.bmp", Bmp({{0, 0, 0, 0}}).substr(0, 30));
  std::filesystem::create_directory(folder.root() / "dir.png");
  for (const char* name : {"text.png", "empty.png", "cut.bmp", "dir.png", "missing.png"}) {
    SCOPED_TRACE(name);
    const std::string error = LoadError(name);
    EXPECT_EQ(error.rfind(report_text::CannotReadPicture(folder.Path(name), ""), 0), 0u) << error;
  }
}

TEST_F(WinHostTest, NonAsciiPictureNamesLoad) {
  folder.Write("\xC3\xA9t\xC3\xA9.bmp", Bmp({{0xAAAAAA}}));
  EXPECT_EQ(Points("\xC3\xA9t\xC3\xA9.bmp"), std::vector<std::uint32_t>{0xAAAAAA});
}

TEST_F(WinHostTest, HeaderTextIsWrittenInTheAnsiCodePage) {
  const std::string text = "#define \xC3\xA9_WIDTH 8\r\n";  // "é"
  host.WriteTextFile(folder.Path("a.h"), text);
  const std::wstring wide = L"#define \u00e9_WIDTH 8\r\n";
  char expected[64] = {};
  const int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()),
                                       expected, sizeof expected, nullptr, nullptr);
  EXPECT_EQ(folder.Read("a.h"), std::string(expected, static_cast<std::size_t>(size)));
  if (GetACP() == 1252) EXPECT_EQ(folder.Read("a.h"), "#define \xE9_WIDTH 8\r\n");
}

TEST(WinHostArguments, ParsedArgumentsAreQuotedAndJoinedInUtf8) {
  wchar_t program[] = L"quillbit.exe";
  wchar_t spaced[] = L"C:\\my art\\ship.png";
  wchar_t accented[] = L"\u00e9t\u00e9.bmp";
  wchar_t* argv[] = {program, spaced, accented};
  TerminalPresentation terminal{false};
  WinHost host(Utf8Arguments(3, argv), terminal);
  EXPECT_EQ(host.Command(), "\"C:\\my art\\ship.png\" \"\xC3\xA9t\xC3\xA9.bmp\"");
  EXPECT_EQ(WinHost(Utf8Arguments(1, argv), terminal).Command(), "");

  wchar_t quoted[] = L"say \"hi\".png";
  wchar_t* withQuote[] = {program, quoted};
  EXPECT_EQ(WinHost(Utf8Arguments(2, withQuote), terminal).Command(), std::nullopt);
}

TEST(WinText, Utf8AndUtf16RoundTripAndInvalidUtf8Fails) {
  const std::string text = "a\xC3\xA9\xE2\x98\x85\xF0\x9F\x98\x80";  // a é ★ 😀
  EXPECT_EQ(WideFromUtf8(text), std::wstring(L"a\u00e9\u2605\U0001F600"));
  EXPECT_EQ(Utf8FromWide(WideFromUtf8(text)), text);
  EXPECT_EQ(WideFromUtf8(""), L"");
  EXPECT_THROW(WideFromUtf8("bad \xC3"), RunTimeError);
}

TEST(MessageBoxStyle, OkOnlyWithAnErrorIconForTheRunTimeReportAlone) {
  EXPECT_EQ(MessageBoxStyle(MessageKind::Information), static_cast<unsigned>(MB_OK));
  EXPECT_EQ(MessageBoxStyle(MessageKind::UserError), static_cast<unsigned>(MB_OK));
  EXPECT_EQ(MessageBoxStyle(MessageKind::RunTimeError),
            static_cast<unsigned>(MB_OK | MB_ICONERROR));
}

}  // namespace
}  // namespace quillbit::testing
