/* Blitview.h - reads and draws the sprites that quillbit writes.
 *
 * Plain C89 (also C99 and C++), standard headers only, no global state.
 * Every name starts with blitview_ or BLITVIEW_.
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
 * A sprite header defines its arrays, so include each one in one source file only.
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

/* C89 has no inline, and an unused plain static function draws a warning. */
#if defined(__cplusplus) || (defined(__STDC_VERSION__) && __STDC_VERSION__ >= 199901L)
#define BLITVIEW_API static inline
#elif defined(__GNUC__)
#define BLITVIEW_API static __inline__
#elif defined(_MSC_VER)
#define BLITVIEW_API static __inline
#else
#define BLITVIEW_API static
#endif

/* The level of one pixel: bit 0 is plane 1, bit 1 is plane 2. */
enum blitview_pixel_level {
  BLITVIEW_BACKGROUND = 0,
  BLITVIEW_LIGHT_GREY = 1,
  BLITVIEW_DARK_GREY = 2,
  BLITVIEW_BLACK = 3
};

/* How a sprite's rows are stored; follows from its width alone. */
enum blitview_rows { BLITVIEW_ROWS_BYTES, BLITVIEW_ROWS_16, BLITVIEW_ROWS_32 };

#define BLITVIEW_ROWS_OF(width) \
  ((width) == 16 ? BLITVIEW_ROWS_16 : (width) == 32 ? BLITVIEW_ROWS_32 : BLITVIEW_ROWS_BYTES)
#define BLITVIEW_ELEMENT_SIZE(width) \
  ((width) == 16 ? sizeof(unsigned short) : (width) == 32 ? sizeof(unsigned long) : 1)

/* A sprite as the converter wrote it; build one with the macros below. */
typedef struct blitview_sprite {
  int width;          /* pixels, a multiple of 8 */
  int height;         /* rows */
  int rows;           /* an enum blitview_rows value */
  const void* plane1; /* the array of plane 1 */
  const void* plane2; /* the array of plane 2; plane 1 again for a black-and-white sprite */
} blitview_sprite;

/* The array as const void*; an array whose element type does not fit the width
   stops the compile with a negative array size. */
#define BLITVIEW_FITS_(plane, width) (sizeof((plane)[0]) == BLITVIEW_ELEMENT_SIZE(width))
#define BLITVIEW_PLANE_(plane, width) \
  ((const void*)((plane) + 0 * sizeof(char[BLITVIEW_FITS_(plane, width) ? 1 : -1])))

/* Descriptor of a sprite from its size and its arrays (the same one twice when
   black and white), usable as a constant initializer. */
#define BLITVIEW_SPRITE(width, height, plane1, plane2)                          \
  {                                                                             \
    (width), (height), BLITVIEW_ROWS_OF(width), BLITVIEW_PLANE_(plane1, width), \
        BLITVIEW_PLANE_(plane2, width)                                          \
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

/* Byte k (0 <= k < width / 8) of row y (0 <= y < height) of plane 1 or 2: pixels
   8k to 8k + 7, most significant bit leftmost. */
BLITVIEW_API unsigned blitview_sprite_byte(const blitview_sprite* sprite, int plane, int y, int k) {
  const void* rows = plane == 2 ? sprite->plane2 : sprite->plane1;
  switch (sprite->rows) {
    case BLITVIEW_ROWS_16:
      return ((unsigned)((const unsigned short*)rows)[y] >> (8 * (1 - k))) & 0xFFu;
    case BLITVIEW_ROWS_32:
      return (unsigned)((((const unsigned long*)rows)[y] >> (8 * (3 - k))) & 0xFFu);
    default:
      return ((const unsigned char*)rows)[(size_t)y * (size_t)(sprite->width / 8) + (size_t)k];
  }
}

/* Level of pixel (x, y), an enum blitview_pixel_level value; outside the sprite, background. */
BLITVIEW_API int blitview_level(const blitview_sprite* sprite, int x, int y) {
  unsigned bit;
  int level = BLITVIEW_BACKGROUND;
  if (x < 0 || y < 0 || x >= sprite->width || y >= sprite->height) return level;
  bit = 0x80u >> (x % 8);
  if (blitview_sprite_byte(sprite, 1, y, x / 8) & bit) level |= 1;
  if (blitview_sprite_byte(sprite, 2, y, x / 8) & bit) level |= 2;
  return level;
}

/* x / 8 rounded down, also for negative x (C89 leaves that rounding open). */
BLITVIEW_API int blitview_floor8_(int x) { return x >= 0 ? x / 8 : -(-(x + 1) / 8) - 1; }

/* Screen byte k of a sprite row moved right by shift bits: k runs to one past the row. */
BLITVIEW_API unsigned blitview_shifted_byte_(const blitview_sprite* sprite, int plane, int y, int k,
                                             unsigned shift) {
  unsigned bits = 0;
  if (k < sprite->width / 8) bits = blitview_sprite_byte(sprite, plane, y, k) >> shift;
  if (k > 0 && shift > 0) bits |= (blitview_sprite_byte(sprite, plane, y, k - 1) << (8 - shift));
  return bits & 0xFFu;
}

BLITVIEW_API void blitview_apply_(unsigned char* screen, unsigned bits, unsigned shape,
                                  blitview_mode mode) {
  unsigned byte = *screen;
  switch (mode) {
    case BLITVIEW_OR: byte |= bits; break;
    case BLITVIEW_ANDNOT: byte &= ~shape; break;
    case BLITVIEW_XOR: byte ^= bits; break;
    case BLITVIEW_PUT: byte = (byte & ~shape) | bits; break;
  }
  *screen = (unsigned char)(byte & 0xFFu);
}

BLITVIEW_API void blitview_draw_row_(const blitview_sprite* sprite,
                                     const blitview_framebuffer* screen, int x, int row,
                                     int screen_row, blitview_mode mode) {
  const int column = blitview_floor8_(x);
  const unsigned shift = (unsigned)(x - column * 8);
  const size_t line = (size_t)screen_row * (size_t)screen->width_bytes;
  int k;
  for (k = 0; k <= sprite->width / 8; ++k) {
    const int target = column + k;
    unsigned bits1, bits2;
    if (target < 0 || target >= screen->width_bytes) continue;
    bits1 = blitview_shifted_byte_(sprite, 1, row, k, shift);
    bits2 = blitview_shifted_byte_(sprite, 2, row, k, shift);
    blitview_apply_(screen->plane1 + line + target, bits1, bits1 | bits2, mode);
    if (screen->plane2) blitview_apply_(screen->plane2 + line + target, bits2, bits1 | bits2, mode);
  }
}

/* Draws the sprite with its top-left pixel at (x, y), any x; what falls outside
   the screen is clipped. */
BLITVIEW_API void blitview_draw(const blitview_sprite* sprite, const blitview_framebuffer* screen,
                                int x, int y, blitview_mode mode) {
  int row, first, end;
  /* Off-screen sprites stop here, which also keeps the sums below from overflowing. */
  if (x <= -sprite->width || y <= -sprite->height || y >= screen->height) return;
  if (x >= 0 && x / 8 >= screen->width_bytes) return;
  first = y < 0 ? -y : 0;
  end = screen->height - y < sprite->height ? screen->height - y : sprite->height;
  for (row = first; row < end; ++row) blitview_draw_row_(sprite, screen, x, row, y + row, mode);
}

#endif /* BLITVIEW_H */
