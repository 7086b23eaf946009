/* Blitview.h - reads and draws the sprites that quillbit writes.
 *
 * Plain C89 (also C99 and C++), standard headers only, no global state.
 * Every name starts with blitview_ or BLITVIEW_. Tested with gcc and clang,
 * avr-gcc, arm-none-eabi-gcc, m68k gcc (also -mshort), cc65 and sdcc.
 *
 * The drawing code is compiled once in a program: exactly one source file
 * defines BLITVIEW_IMPLEMENTATION before it includes this header, every other
 * file includes it plainly and gets declarations only. A program of one file
 * just starts with the define:
 *
 *     #define BLITVIEW_IMPLEMENTATION
 *     #include "Blitview.h"
 *
 * Usage, for ship.png (black and white) and ghost.png (with grey):
 *
 *     #include "ship.h"       defines SHIP_WIDTH, SHIP_HEIGHT, ship[]
 *     #include "ghost.h"      defines GHOST_WIDTH, GHOST_HEIGHT, ghost1[], ghost2[]
 *     #include "Blitview.h"
 *
 *     static const blitview_sprite ship_sprite = BLITVIEW_MONO(SHIP, ship);
 *     static const blitview_sprite ghost_sprite = BLITVIEW_GREY(GHOST, ghost);
 *     static unsigned char plane1[40 * 200], plane2[40 * 200];
 *     static const blitview_framebuffer screen = {plane1, plane2, 40, 200};
 *
 *     blitview_draw(&ghost_sprite, &screen, x, y, BLITVIEW_PUT);      draw
 *     blitview_draw(&ghost_sprite, &screen, x, y, BLITVIEW_ANDNOT);   erase
 *     if (blitview_level(&ship_sprite, 3, 0) == BLITVIEW_BLACK) ...
 *
 * A sprite header defines its arrays, so include each one in one source file
 * only. Its arrays are not const: on AVR they are copied into RAM at start
 * (so is a static const descriptor), elsewhere they take ROM and RAM alike.
 * The headers begin with // comments: cc65 and sdcc take them by default;
 * gcc needs a mode other than -std=c89/-ansi (or the header as a system header).
 * Flags: avr-gcc and arm-none-eabi-gcc -Os; cl65 -O; sdcc --opt-code-size, and
 * on the 8051 --model-large --stack-auto. Drawing code: about 1 KB on ARM and
 * 68000, 2.2 KB on AVR, 3.4 KB on the 6502, 4 KB on Z80 (README: "On your target").
 *
 * Layout of the arrays, for a sprite W pixels wide: every row is stored most
 * significant bit first, the leftmost pixel in the top bit, one bit per pixel.
 *   W == 8:  unsigned char, one per row: pixel x of row y is bit 7 - x of base[y];
 *   W == 16: unsigned short, one per row: bit 15 - x of base[y];
 *   W == 32: unsigned long, one per row: bit 31 - x of base[y] (only the low
 *            32 bits hold data, also where long is wider);
 *   other W: unsigned char, W / 8 per row: bit 7 - x % 8 of base[y * (W / 8) + x / 8].
 * blitview_sprite_byte() hides the difference: byte k of a row holds pixels
 * 8k to 8k + 7, in every layout.
 *
 * Levels: a black-and-white sprite has one array, plane 1; its plane 2 equals
 * plane 1, so a set pixel is black. A sprite with grey has base1 (plane 1) and
 * base2 (plane 2). The level of a pixel is (plane 1 bit) + 2 * (plane 2 bit):
 * background 0, light grey 1, dark grey 2, black 3.
 */
#ifndef BLITVIEW_H
#define BLITVIEW_H

#include <stddef.h>

/* The level of one pixel: bit 0 is plane 1, bit 1 is plane 2. */
enum blitview_pixel_level {
  BLITVIEW_BACKGROUND = 0,
  BLITVIEW_LIGHT_GREY = 1,
  BLITVIEW_DARK_GREY = 2,
  BLITVIEW_BLACK = 3
};

/* How a sprite's rows are stored; follows from its width alone. */
enum blitview_rows { BLITVIEW_ROWS_BYTES, BLITVIEW_ROWS_16, BLITVIEW_ROWS_32 };

/* Constant expressions without ?:, && and ==: cc65 takes no ?: or && in an initializer
   and warns of every comparison whose result is known. */
#define BLITVIEW_IS_(width, value) (!((width) ^ (value)))
#define BLITVIEW_ROWS_OF(width) \
  (BLITVIEW_IS_(width, 16) * BLITVIEW_ROWS_16 + BLITVIEW_IS_(width, 32) * BLITVIEW_ROWS_32)
#define BLITVIEW_ELEMENT_SIZE(width)                            \
  (1 + BLITVIEW_IS_(width, 16) * (sizeof(unsigned short) - 1) + \
   BLITVIEW_IS_(width, 32) * (sizeof(unsigned long) - 1))

/* A sprite as the converter wrote it; build one with the macros below. */
typedef struct blitview_sprite {
  int width;          /* pixels, a multiple of 8 */
  int height;         /* rows */
  int rows;           /* an enum blitview_rows value */
  const void* plane1; /* the array of plane 1 */
  const void* plane2; /* the array of plane 2; plane 1 again for a black-and-white sprite */
} blitview_sprite;

/* The width, as an int constant that stops the compile with a negative array size
   when an array's element type does not fit it. The check rides on the width, not on
   the pointers: sdcc takes no pointer sum of that kind as a constant. */
#define BLITVIEW_MISFIT_(plane, width) (sizeof((plane)[0]) - BLITVIEW_ELEMENT_SIZE(width))
#define BLITVIEW_CHECKED_WIDTH_(width, plane1, plane2)                          \
  ((int)((width) + 0 * sizeof(char[1 - 2 * !!(BLITVIEW_MISFIT_(plane1, width) | \
                                              BLITVIEW_MISFIT_(plane2, width))])))

/* Descriptor of a sprite from its size and its arrays (the same one twice when
   black and white), usable as a constant initializer. */
#define BLITVIEW_SPRITE(width, height, plane1, plane2)                                 \
  {                                                                                    \
    BLITVIEW_CHECKED_WIDTH_(width, plane1, plane2), (height), BLITVIEW_ROWS_OF(width), \
        (const void*)(plane1), (const void*)(plane2)                                   \
  }

/* Descriptor of a generated black-and-white sprite: BLITVIEW_MONO(SHIP, ship). */
#define BLITVIEW_MONO(NAME, name) BLITVIEW_SPRITE(NAME##_WIDTH, NAME##_HEIGHT, name, name)

/* Descriptor of a generated sprite with grey: BLITVIEW_GREY(GHOST, ghost). */
#define BLITVIEW_GREY(NAME, name) BLITVIEW_SPRITE(NAME##_WIDTH, NAME##_HEIGHT, name##1, name##2)

/* The caller's planar screen: rows of width_bytes bytes, most significant bit
   leftmost, pixel (x, y) in bit 7 - x % 8 of byte y * width_bytes + x / 8. */
typedef struct blitview_framebuffer {
  unsigned char* plane1;
  unsigned char* plane2; /* NULL for a one-plane screen, which shows sprite plane 1 */
  int width_bytes;
  int height;
} blitview_framebuffer;

/* What drawing does to each covered byte. "Shape" is every pixel of the sprite
   that is not background; sprite plane n goes to screen plane n. */
typedef enum blitview_mode {
  BLITVIEW_OR,     /* screen |= sprite: draws over what is there */
  BLITVIEW_ANDNOT, /* screen &= ~shape: erases the sprite's shape to background */
  BLITVIEW_XOR,    /* screen ^= sprite: drawing twice restores the screen */
  BLITVIEW_PUT     /* screen = (screen & ~shape) | sprite: draws the sprite opaque */
} blitview_mode;

#ifdef __cplusplus
extern "C" {
#endif

/* Byte k (0 <= k < width / 8) of row y (0 <= y < height) of plane 1 or 2: pixels
   8k to 8k + 7, most significant bit leftmost. */
unsigned blitview_sprite_byte(const blitview_sprite* sprite, int plane, int y, int k);

/* Level of pixel (x, y), an enum blitview_pixel_level value; outside the sprite, background. */
int blitview_level(const blitview_sprite* sprite, int x, int y);

/* Draws the sprite with its top-left pixel at (x, y), any x; what falls outside
   the screen is clipped. */
void blitview_draw(const blitview_sprite* sprite, const blitview_framebuffer* screen, int x, int y,
                   blitview_mode mode);

#ifdef __cplusplus
}
#endif

#endif /* BLITVIEW_H */

#if defined(BLITVIEW_IMPLEMENTATION) && !defined(BLITVIEW_IMPLEMENTED_)
#define BLITVIEW_IMPLEMENTED_

#ifdef __cplusplus
extern "C" {
#endif

/* Byte k of a row stored as one unsigned short or unsigned long: shifts by constants,
   which 8-bit compilers turn into byte moves. */
static unsigned char blitview_word_byte_(unsigned long word, int bytes, int k) {
  int from_right = bytes - 1 - k;
  while (from_right-- > 0) word >>= 8;
  return (unsigned char)(word & 0xFFu);
}

unsigned blitview_sprite_byte(const blitview_sprite* sprite, int plane, int y, int k) {
  const void* rows = plane == 2 ? sprite->plane2 : sprite->plane1;
  unsigned char byte;
  if (sprite->width == 16) {
    byte = blitview_word_byte_(((const unsigned short*)rows)[y], 2, k);
  } else if (sprite->width == 32) {
    byte = blitview_word_byte_(((const unsigned long*)rows)[y], 4, k);
  } else {
    byte = ((const unsigned char*)rows)[(size_t)y * (size_t)(sprite->width / 8) + (size_t)k];
  }
  return byte;
}

int blitview_level(const blitview_sprite* sprite, int x, int y) {
  unsigned bit;
  int level = BLITVIEW_BACKGROUND;
  if (x < 0 || y < 0 || x >= sprite->width || y >= sprite->height) return level;
  bit = 0x80u >> (x % 8);
  if (blitview_sprite_byte(sprite, 1, y, x / 8) & bit) level |= 1;
  if (blitview_sprite_byte(sprite, 2, y, x / 8) & bit) level |= 2;
  return level;
}

/* What the modes do to a screen byte b for sprite bits s and shape m: OR is b | s, the
   others b = (b & ~(m & shape_mask)) ^ (s & flip_mask), PUT being (b & ~m) ^ s as s lies
   inside m. Two masks per mode keep the mode out of the inner loop. */
static const unsigned char blitview_mode_masks_[4][2] = {
    {0x00, 0xFF}, /* OR (the masks of XOR; the loop tells OR apart) */
    {0xFF, 0x00}, /* AND-NOT */
    {0x00, 0xFF}, /* XOR */
    {0xFF, 0xFF}  /* PUT */
};

/* One screen byte of each plane from the sprite's bits there: a macro, as C89 has no
   inline and a call per byte costs more than the byte itself on an 8-bit machine. */
#define BLITVIEW_APPLY_(bits1, bits2)                                         \
  do {                                                                        \
    const unsigned char b1_ = (unsigned char)((bits1)&0xFFu);                 \
    const unsigned char b2_ = (unsigned char)((bits2)&0xFFu);                 \
    const unsigned char keep_ = (unsigned char)~((b1_ | b2_) & shape_mask);   \
    if (or_mode) {                                                            \
      *out1 = (unsigned char)(*out1 | b1_);                                   \
      if (out2) *out2 = (unsigned char)(*out2 | b2_);                         \
    } else {                                                                  \
      *out1 = (unsigned char)((*out1 & keep_) ^ (b1_ & flip_mask));           \
      if (out2) *out2 = (unsigned char)((*out2 & keep_) ^ (b2_ & flip_mask)); \
    }                                                                         \
    ++out1;                                                                   \
    if (out2) ++out2;                                                         \
  } while (0)

/* A draw after clipping: sprite rows row to row_end - 1 onto screen bytes first to end - 1
   of the sprite's span, from screen offset line on. Byte k of the span takes sprite bytes
   k - 1 and k moved right by shift; it has one byte more than the sprite when shift is not 0. */
typedef struct blitview_clip_ {
  const void* plane1;
  const void* plane2;
  unsigned char* screen1;
  unsigned char* screen2;
  size_t line, stride;
  int bytes, row, row_end, first, end;
  unsigned char shift, or_mode;
  const unsigned char* masks;
} blitview_clip_;

/* Each path on its own: inlined into one function, the two crowd the registers of an
   8-bit machine. */
#if defined(__GNUC__)
#define BLITVIEW_PATH_ static __attribute__((noinline))
#else
#define BLITVIEW_PATH_ static
#endif

/* Sprites up to 24 wide, most of them: a row moved by shift fits in 32 bits, so each plane
   takes one shift of a long, and its bytes come from the top. */
BLITVIEW_PATH_ void blitview_draw_narrow_(const blitview_clip_* clip) {
  const unsigned char shape_mask = clip->masks[0], flip_mask = clip->masks[1];
  const unsigned char shift = clip->shift, or_mode = clip->or_mode;
  const int bytes = clip->bytes, first = clip->first, end = clip->end;
  unsigned char* out1_row = clip->screen1 + clip->line;
  unsigned char* out2_row = clip->screen2 ? clip->screen2 + clip->line : NULL;
  unsigned char buffer1[4], buffer2[4];
  int row, k;
  for (row = clip->row; row < clip->row_end; ++row) {
    unsigned char* out1 = out1_row;
    unsigned char* out2 = out2_row;
    unsigned long span1, span2;
    if (bytes == 2) {
      span1 = (unsigned long)((const unsigned short*)clip->plane1)[row] << 16;
      span2 = (unsigned long)((const unsigned short*)clip->plane2)[row] << 16;
    } else {
      const unsigned char* row1 = (const unsigned char*)clip->plane1 + (size_t)row * (size_t)bytes;
      const unsigned char* row2 = (const unsigned char*)clip->plane2 + (size_t)row * (size_t)bytes;
      span1 = (unsigned long)row1[0] << 24;
      span2 = (unsigned long)row2[0] << 24;
      if (bytes == 3) {
        span1 |= ((unsigned long)row1[1] << 16) | ((unsigned)row1[2] << 8);
        span2 |= ((unsigned long)row2[1] << 16) | ((unsigned)row2[2] << 8);
      }
    }
    span1 >>= shift;
    span2 >>= shift;
    /* Bytes, not the long, in the loop: 8-bit compilers keep a long in no registers. */
    buffer1[0] = (unsigned char)(span1 >> 24);
    buffer1[1] = (unsigned char)((span1 >> 16) & 0xFFu);
    buffer1[2] = (unsigned char)((span1 >> 8) & 0xFFu);
    buffer1[3] = (unsigned char)(span1 & 0xFFu);
    buffer2[0] = (unsigned char)(span2 >> 24);
    buffer2[1] = (unsigned char)((span2 >> 16) & 0xFFu);
    buffer2[2] = (unsigned char)((span2 >> 8) & 0xFFu);
    buffer2[3] = (unsigned char)(span2 & 0xFFu);
    for (k = first; k < end; ++k) BLITVIEW_APPLY_(buffer1[k], buffer2[k]);
    out1_row += clip->stride;
    if (out2_row) out2_row += clip->stride;
  }
}

/* Wider sprites, a byte at a time. */
BLITVIEW_PATH_ void blitview_draw_wide_(const blitview_clip_* clip) {
  const unsigned char shape_mask = clip->masks[0], flip_mask = clip->masks[1];
  const unsigned char shift = clip->shift, or_mode = clip->or_mode;
  const int bytes = clip->bytes, first = clip->first, end = clip->end;
  unsigned char buffer1[4], buffer2[4];
  size_t line = clip->line;
  int row, k;
  for (row = clip->row; row < clip->row_end; ++row, line += clip->stride) {
    const unsigned char *row1 = buffer1, *row2 = buffer2;
    unsigned char* out1 = clip->screen1 + line;
    unsigned char* out2 = clip->screen2 ? clip->screen2 + line : NULL;
    unsigned carry1, carry2;
    if (bytes == 4) {
      unsigned long word1 = ((const unsigned long*)clip->plane1)[row];
      unsigned long word2 = ((const unsigned long*)clip->plane2)[row];
      for (k = 3; k >= 0; --k, word1 >>= 8, word2 >>= 8) {
        buffer1[k] = (unsigned char)(word1 & 0xFFu);
        buffer2[k] = (unsigned char)(word2 & 0xFFu);
      }
    } else {
      row1 = (const unsigned char*)clip->plane1 + (size_t)row * (size_t)bytes;
      row2 = (const unsigned char*)clip->plane2 + (size_t)row * (size_t)bytes;
    }
    carry1 = first > 0 ? row1[first - 1] : 0u;
    carry2 = first > 0 ? row2[first - 1] : 0u;
    for (k = first; k < end; ++k) {
      carry1 = (carry1 << 8) | (k < bytes ? row1[k] : 0u);
      carry2 = (carry2 << 8) | (k < bytes ? row2[k] : 0u);
      BLITVIEW_APPLY_(carry1 >> shift, carry2 >> shift);
    }
  }
}

void blitview_draw(const blitview_sprite* sprite, const blitview_framebuffer* screen, int x, int y,
                   blitview_mode mode) {
  const int width = sprite->width, width_bytes = screen->width_bytes;
  blitview_clip_ clip;
  int column;
  /* Off-screen sprites stop here, which also keeps the sums below from overflowing. */
  if (x <= -width || y <= -sprite->height || y >= screen->height) return;
  /* x / 8 rounded down, also for negative x (C89 leaves that rounding open), by shifts:
     some compilers call a division routine for x / 8. */
  column = x >= 0 ? (int)((unsigned)x >> 3) : -(int)((unsigned)(-(x + 1)) >> 3) - 1;
  if (column >= width_bytes || (unsigned)mode > (unsigned)BLITVIEW_PUT) return;
  clip.plane1 = sprite->plane1;
  clip.plane2 = sprite->plane2;
  clip.screen1 = screen->plane1;
  clip.screen2 = screen->plane2;
  clip.stride = (size_t)width_bytes;
  clip.bytes = width / 8;
  clip.shift = (unsigned char)(x - column * 8);
  clip.first = column < 0 ? -column : 0;
  clip.end = clip.bytes + (clip.shift != 0);
  if (clip.end > width_bytes - column) clip.end = width_bytes - column;
  clip.row = y < 0 ? -y : 0;
  clip.row_end = screen->height - y < sprite->height ? screen->height - y : sprite->height;
  clip.line = (size_t)(y + clip.row) * clip.stride + (size_t)(column + clip.first);
  clip.masks = blitview_mode_masks_[mode];
  clip.or_mode = mode == BLITVIEW_OR;
  if (width <= 24) {
    blitview_draw_narrow_(&clip);
  } else {
    blitview_draw_wide_(&clip);
  }
}

#ifdef __cplusplus
}
#endif

#endif /* BLITVIEW_IMPLEMENTATION */
