// Aseprite's own files (.ase, .aseprite), which no library in Debian reads: quillbit reads
// the published layout itself, over zlib. Only the first frame is read, composed from its
// visible layers as Aseprite shows it; tilesets, user data, slices and later frames are
// skipped, and a file whose first frame needs what is left out says so.
#include <zlib.h>

#include <algorithm>
#include <array>

#include "analysis/picture_limits.h"
#include "host/common/little_endian.h"
#include "host/picture/aseprite_compose.h"
#include "host/picture/format_readers.h"

namespace quillbit {

namespace {

constexpr std::size_t kHeaderBytes = 128;
constexpr std::size_t kFrameHeaderBytes = 16;
constexpr std::size_t kChunkHeaderBytes = 6;
// More than any sprite of at most 32767 pixels is drawn with; keeps a file of a million
// tiny layers from costing a million compositions.
constexpr std::size_t kMostLayers = 128;

enum Chunk : std::uint32_t {
  kOldPalette = 0x0004,
  kOldPalette64 = 0x0011,
  kLayer = 0x2004,
  kCel = 0x2005,
  kPalette = 0x2019
};
enum CelType : std::uint32_t { kRawCel = 0, kLinkedCel = 1, kZlibCel = 2, kTilemapCel = 3 };
enum LayerType : std::uint32_t { kImageLayer = 0, kGroupLayer = 1, kTilemapLayer = 2 };
constexpr std::uint32_t kVisible = 1;
constexpr std::uint32_t kBackground = 8;
constexpr std::uint32_t kReference = 64;
constexpr std::uint32_t kLayerOpacityValid = 1;
constexpr std::uint32_t kGroupOpacityValid = 2;

[[noreturn]] void Broken(const std::string& why) {
  throw PictureFault("broken Aseprite file (" + why + ")");
}

[[noreturn]] void LeftOut(const std::string& what) {
  throw PictureFault(what + ", which quillbit does not read; save the sprite as PNG");
}

// Little-endian fields taken one after another, never past end.
class Fields {
 public:
  Fields(const std::string& bytes, std::size_t at, std::size_t end)
      : bytes_(bytes), at_(at), end_(end) {}
  std::uint32_t Take(int size) {
    Need(static_cast<std::size_t>(size));
    const std::uint32_t value = Little(bytes_, at_, size);
    at_ += static_cast<std::size_t>(size);
    return value;
  }
  int TakeSigned16() { return static_cast<std::int16_t>(Take(2)); }
  std::string TakeString() {
    const std::size_t length = Take(2);
    Need(length);
    at_ += length;
    return bytes_.substr(at_ - length, length);
  }
  void Skip(std::size_t count) {
    Need(count);
    at_ += count;
  }
  std::size_t at() const { return at_; }
  std::size_t left() const { return end_ - at_; }

 private:
  void Need(std::size_t count) const {
    if (end_ - at_ < count) Broken("cut short");
  }
  const std::string& bytes_;
  std::size_t at_;
  std::size_t end_;
};

struct Layer {
  std::string name;
  bool visible = false;
  bool background = false;
  std::uint32_t type = kImageLayer;
  int blend = 0;
  int opacity = 255;
};

struct Cel {
  std::size_t layer = 0;
  int x = 0;
  int y = 0;
  int opacity = 255;
  std::uint32_t type = kRawCel;
  int z = 0;
  std::size_t at = 0;  // the cel's data after its common fields
  std::size_t end = 0;
};

struct Sprite {
  int depth = 32;
  std::uint32_t flags = 0;
  unsigned transparentIndex = 0;
  std::vector<Layer> layers;
  std::vector<bool> visibleAtLevel;  // whether the last layer of each nesting level shows
  std::vector<Cel> cels;
  std::array<std::uint32_t, 256> palette{};
  std::size_t colours = 0;
  bool newPalette = false;  // a palette chunk of today's kind, which the old ones yield to
};

std::string Quoted(const std::string& name) { return "layer \"" + name + "\""; }

int PercentOf(int opacity) { return (opacity * 100 + 127) / 255; }

void ReadLayer(Sprite& sprite, Fields fields) {
  if (sprite.layers.size() == kMostLayers)
    Broken("more than " + std::to_string(kMostLayers) + " layers");
  Layer layer;
  const std::uint32_t flags = fields.Take(2);
  layer.type = fields.Take(2);
  const std::size_t level = fields.Take(2);
  fields.Skip(4);
  layer.blend = static_cast<int>(fields.Take(2));
  layer.opacity = static_cast<int>(fields.Take(1));
  fields.Skip(3);
  layer.name = fields.TakeString();
  if (level > sprite.visibleAtLevel.size()) Broken("a layer lies deeper than any group");
  layer.visible = (flags & kVisible) != 0 && (flags & kReference) == 0 &&
                  (level == 0 || sprite.visibleAtLevel[level - 1]);
  layer.background = (flags & kBackground) != 0;
  sprite.visibleAtLevel.resize(level + 1);
  sprite.visibleAtLevel[level] = layer.visible;
  if ((sprite.flags & kLayerOpacityValid) == 0) layer.opacity = 255;
  if (layer.type == kGroupLayer && layer.visible && (sprite.flags & kGroupOpacityValid) != 0 &&
      (layer.opacity != 255 || layer.blend != 0))
    LeftOut("group \"" + layer.name + "\" has an opacity or blend mode of its own");
  sprite.layers.push_back(std::move(layer));
}

void ReadCel(Sprite& sprite, Fields fields, std::size_t end) {
  Cel cel;
  cel.layer = fields.Take(2);
  cel.x = fields.TakeSigned16();
  cel.y = fields.TakeSigned16();
  cel.opacity = static_cast<int>(fields.Take(1));
  cel.type = fields.Take(2);
  cel.z = fields.TakeSigned16();
  fields.Skip(5);
  cel.at = fields.at();
  cel.end = end;
  if (cel.layer >= sprite.layers.size())
    Broken("a cel is on layer " + std::to_string(cel.layer) + ", which it does not have");
  const Layer& layer = sprite.layers[cel.layer];
  if (!layer.visible || layer.type == kGroupLayer) return;
  if (cel.type == kTilemapCel || layer.type == kTilemapLayer)
    LeftOut(Quoted(layer.name) + " is a tilemap");
  if (cel.type == kLinkedCel) Broken("a cel of its first frame links to another frame");
  if (cel.type != kRawCel && cel.type != kZlibCel)
    Broken("a cel of type " + std::to_string(cel.type));
  for (const Cel& other : sprite.cels)
    if (other.layer == cel.layer) Broken(Quoted(layer.name) + " has two cels in one frame");
  if (!CanCompose(layer.blend)) {
    if (BlendModeName(layer.blend).empty())
      Broken(Quoted(layer.name) + " has blend mode " + std::to_string(layer.blend));
    LeftOut(Quoted(layer.name) + " blends by " + std::string(BlendModeName(layer.blend)));
  }
  sprite.cels.push_back(cel);
}

void PutColour(Sprite& sprite, std::size_t index, std::uint32_t argb) {
  if (index >= sprite.palette.size()) return;  // pixels are bytes: only 256 colours are used
  sprite.palette[index] = argb;
  sprite.colours = std::max(sprite.colours, index + 1);
}

void ReadPalette(Sprite& sprite, Fields fields) {
  const std::uint32_t size = fields.Take(4);
  const std::uint32_t first = fields.Take(4);
  const std::uint32_t last = fields.Take(4);
  fields.Skip(8);
  if (first > last || last >= size) Broken("its palette lists colours past its size");
  for (std::uint64_t index = first; index <= last; ++index) {
    const std::uint32_t entryFlags = fields.Take(2);
    const std::uint32_t rgba = fields.Take(4);
    if ((entryFlags & 1) != 0) fields.TakeString();
    const std::uint32_t rgb = (rgba & 0xFF) << 16 | (rgba & 0xFF00) | (rgba >> 16 & 0xFF);
    PutColour(sprite, static_cast<std::size_t>(index), (rgba >> 24) << 24 | rgb);
  }
  sprite.newPalette = true;
}

// The old chunks' packets; their samples go to 63 in the older of the two.
void ReadOldPalette(Sprite& sprite, Fields fields, unsigned most) {
  std::size_t index = 0;
  for (std::uint32_t packets = fields.Take(2); packets > 0; --packets) {
    index += fields.Take(1);
    std::uint32_t count = fields.Take(1);
    if (count == 0) count = 256;
    for (; count > 0; --count, ++index) {
      std::uint32_t rgb = 0;
      for (int i = 0; i < 3; ++i)
        rgb = rgb << 8 | std::min(255u, (fields.Take(1) * 255 + most / 2) / most);
      if (!sprite.newPalette) PutColour(sprite, index, 0xFF000000u | rgb);
    }
  }
}

void ReadChunk(Sprite& sprite, const std::string& bytes, std::uint32_t type, std::size_t at,
               std::size_t end) {
  const Fields fields(bytes, at, end);
  switch (type) {
    case kLayer: ReadLayer(sprite, fields); break;
    case kCel: ReadCel(sprite, fields, end); break;
    case kPalette: ReadPalette(sprite, fields); break;
    case kOldPalette: ReadOldPalette(sprite, fields, 255); break;
    case kOldPalette64: ReadOldPalette(sprite, fields, 63); break;
    default: break;  // tilesets, user data, slices, tags, colour profiles: nothing to show
  }
}

// The chunks of the first frame, which starts right after the header.
void ReadFirstFrame(Sprite& sprite, const std::string& bytes) {
  Fields frame(bytes, kHeaderBytes, bytes.size());
  const std::uint32_t frameBytes = frame.Take(4);
  if (frame.Take(2) != 0xF1FA) Broken("its first frame does not start as a frame");
  const std::uint32_t oldChunks = frame.Take(2);
  frame.Skip(4);
  const std::uint32_t newChunks = frame.Take(4);
  if (frameBytes < kFrameHeaderBytes || frameBytes > bytes.size() - kHeaderBytes)
    Broken("its first frame claims " + std::to_string(frameBytes) + " bytes");
  const std::size_t end = kHeaderBytes + frameBytes;
  std::uint64_t chunks = newChunks != 0 ? newChunks : oldChunks;
  if (chunks > (frameBytes - kFrameHeaderBytes) / kChunkHeaderBytes)
    Broken("its first frame claims more chunks than it holds");
  Fields chunk(bytes, frame.at(), end);
  for (; chunks > 0; --chunks) {
    const std::size_t at = chunk.at();
    const std::uint32_t size = chunk.Take(4);
    const std::uint32_t type = chunk.Take(2);
    if (size < kChunkHeaderBytes || size - kChunkHeaderBytes > chunk.left())
      Broken("a chunk claims " + std::to_string(size) + " bytes");
    ReadChunk(sprite, bytes, type, chunk.at(), at + size);
    chunk.Skip(size - kChunkHeaderBytes);
  }
}

// The cel's samples, raw or inflated, exactly count bytes of them.
std::string CelSamples(const std::string& bytes, std::size_t at, std::size_t end, bool compressed,
                       std::size_t count) {
  if (!compressed) {
    if (end - at < count) Broken("a cel is cut short");
    return bytes.substr(at, count);
  }
  std::string samples(count, '\0');
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) throw PictureFault("out of memory");
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data() + at));
  stream.avail_in = static_cast<uInt>(end - at);
  stream.next_out = reinterpret_cast<Bytef*>(samples.data());
  stream.avail_out = static_cast<uInt>(count);
  const int status = inflate(&stream, Z_FINISH);
  inflateEnd(&stream);
  if (status != Z_STREAM_END && !(status == Z_BUF_ERROR && stream.avail_out == 0))
    Broken(status == Z_BUF_ERROR ? "a cel's compressed pixels are cut short"
                                 : "a cel's compressed pixels are damaged");
  if (stream.avail_out != 0) Broken("a cel holds fewer pixels than its size");
  return samples;
}

std::uint32_t CelPixel(const Sprite& sprite, const Layer& layer, const std::uint8_t* sample) {
  if (sprite.depth == 32)
    return std::uint32_t{sample[3]} << 24 | std::uint32_t{sample[0]} << 16 |
           std::uint32_t{sample[1]} << 8 | sample[2];
  if (sprite.depth == 16) return std::uint32_t{sample[1]} << 24 | sample[0] * 0x010101u;
  if (!layer.background && sample[0] == sprite.transparentIndex) return 0;
  if (sample[0] >= sprite.colours)
    Broken("colour " + std::to_string(sample[0]) + " is past its palette of " +
           std::to_string(sprite.colours));
  return sprite.palette[sample[0]];
}

CelPixels DecodeCel(const Sprite& sprite, const std::string& bytes, const Cel& cel) {
  Fields fields(bytes, cel.at, cel.end);
  CelPixels pixels{
      cel.x, cel.y, static_cast<int>(fields.Take(2)), static_cast<int>(fields.Take(2)), {}};
  if (!FitsPictureLimits(pixels.width, pixels.height))
    Broken("a cel of " + std::to_string(pixels.width) + " x " + std::to_string(pixels.height) +
           " pixels, larger than any picture quillbit reads");
  const std::size_t count =
      static_cast<std::size_t>(pixels.width) * static_cast<std::size_t>(pixels.height);
  const std::size_t sampleBytes = static_cast<std::size_t>(sprite.depth / 8);
  const std::string samples =
      CelSamples(bytes, fields.at(), cel.end, cel.type == kZlibCel, count * sampleBytes);
  const Layer& layer = sprite.layers[cel.layer];
  pixels.argb.resize(count);
  for (std::size_t i = 0; i < count; ++i)
    pixels.argb[i] = CelPixel(
        sprite, layer, reinterpret_cast<const std::uint8_t*>(samples.data()) + i * sampleBytes);
  return pixels;
}

// What quillbit-check says of a layer that does not put its levels down as drawn.
std::string Note(const Layer& layer, const Cel& cel, int changed) {
  std::string what = Quoted(layer.name);
  if (layer.opacity != 255)
    what += " has " + std::to_string(PercentOf(layer.opacity)) + "% opacity";
  if (cel.opacity != 255)
    what += std::string(layer.opacity != 255 ? " and" : "") + " has a cel of " +
            std::to_string(PercentOf(cel.opacity)) + "% opacity";
  if (layer.blend != 0)
    what += std::string(layer.opacity != 255 || cel.opacity != 255 ? " and" : "") + " blends by " +
            std::string(BlendModeName(layer.blend));
  return what + ": " + std::to_string(changed) +
         (changed == 1 ? " of its pixels is" : " of its pixels are") + " no longer exact levels";
}

// Back to front: by layer index moved by the cel's z-index, and at a tie the lower
// z-index first, as Aseprite orders them.
void Compose(const Sprite& sprite, const std::string& bytes, Picture& picture) {
  std::vector<Cel> order = sprite.cels;
  std::stable_sort(order.begin(), order.end(), [](const Cel& a, const Cel& b) {
    const long long first = static_cast<long long>(a.layer) + a.z;
    const long long second = static_cast<long long>(b.layer) + b.z;
    return first != second ? first < second : a.z < b.z;
  });
  for (const Cel& cel : order) {
    const Layer& layer = sprite.layers[cel.layer];
    const int opacity = (cel.opacity * layer.opacity + 127) / 255;
    const int changed = ComposeCel(picture, DecodeCel(sprite, bytes, cel), opacity, layer.blend);
    if (changed > 0 && (opacity != 255 || layer.blend != 0))
      picture.notes.push_back(Note(layer, cel, changed));
  }
}

}  // namespace

Picture ReadAseprite(const std::string& bytes) {
  if (bytes.size() < kHeaderBytes) Broken("cut short");
  Picture picture = SizedPicture(Little(bytes, 8, 2), Little(bytes, 10, 2));
  Sprite sprite;
  sprite.depth = static_cast<int>(Little(bytes, 12, 2));
  if (sprite.depth != 8 && sprite.depth != 16 && sprite.depth != 32)
    Broken("colour depth " + std::to_string(sprite.depth) + " is none of 8, 16 and 32");
  if (Little(bytes, 6, 2) == 0) Broken("it has no frames");
  sprite.flags = Little(bytes, 14, 4);
  sprite.transparentIndex = Little(bytes, 28, 1);
  ReadFirstFrame(sprite, bytes);
  Compose(sprite, bytes, picture);
  return picture;
}

}  // namespace quillbit
