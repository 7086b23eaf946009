/* Prints what Blitview.h makes of converted sprites, for test_companion.py to compare
 * with the pictures. The test writes sprites.inc: it includes the generated headers
 * and lists their descriptors in check_sprites[]. Commands on standard input:
 *   L s                                  levels of sprite s, one line of digits per
 *                                        row, then "outside" and the levels read at
 *                                        (-1, 0), (width, 0) and (0, height)
 *   D s planes bytes rows n x y mode ... n draws of sprite s, in order, onto a
 *                                        patterned screen; prints each plane in hex
 * mode: 0 OR, 1 AND-NOT, 2 XOR, 3 PUT.
 */
#include <stdio.h>

#define BLITVIEW_IMPLEMENTATION
#include "Blitview.h"
#include "sprites.inc"

#define CHECK_SPRITE_COUNT (int)(sizeof check_sprites / sizeof check_sprites[0])
#define CHECK_MAX_SCREEN_BYTES 4096

static const blitview_mode check_modes[] = {BLITVIEW_OR, BLITVIEW_ANDNOT, BLITVIEW_XOR,
                                            BLITVIEW_PUT};

/* The same pattern as screen_pattern() in test_companion.py. */
static void check_fill(unsigned char* plane, int size, int salt) {
  int i;
  for (i = 0; i < size; ++i) plane[i] = (unsigned char)((i * 37 + salt) & 0xFF);
}

static void check_print_plane(const unsigned char* plane, int size) {
  int i;
  for (i = 0; i < size; ++i) printf("%02X", plane[i]);
  printf("\n");
}

static void check_print_levels(const blitview_sprite* sprite) {
  int x, y;
  for (y = 0; y < sprite->height; ++y) {
    for (x = 0; x < sprite->width; ++x) printf("%d", blitview_level(sprite, x, y));
    printf("\n");
  }
  printf("outside %d%d%d\n", blitview_level(sprite, -1, 0),
         blitview_level(sprite, sprite->width, 0), blitview_level(sprite, 0, sprite->height));
}

/* Reads the draws of one D command and applies them; 0 on malformed input. */
static int check_draws(const blitview_sprite* sprite, const blitview_framebuffer* screen) {
  int count, x, y, mode;
  if (scanf("%d", &count) != 1) return 0;
  while (count-- > 0) {
    if (scanf("%d %d %d", &x, &y, &mode) != 3 || mode < 0 || mode > 3) return 0;
    blitview_draw(sprite, screen, x, y, check_modes[mode]);
  }
  return 1;
}

static int check_screen(const blitview_sprite* sprite) {
  static unsigned char plane1[CHECK_MAX_SCREEN_BYTES], plane2[CHECK_MAX_SCREEN_BYTES];
  blitview_framebuffer screen;
  int planes, size;
  screen.plane1 = plane1;
  screen.plane2 = plane2;
  if (scanf("%d %d %d", &planes, &screen.width_bytes, &screen.height) != 3) return 0;
  size = screen.width_bytes * screen.height;
  if (planes < 1 || planes > 2 || size < 0 || size > CHECK_MAX_SCREEN_BYTES) return 0;
  if (planes == 1) screen.plane2 = NULL;
  check_fill(plane1, size, 11);
  check_fill(plane2, size, 112);
  if (!check_draws(sprite, &screen)) return 0;
  check_print_plane(plane1, size);
  if (planes == 2) check_print_plane(plane2, size);
  return 1;
}

int main(void) {
  char command[2];
  int index;
  while (scanf("%1s %d", command, &index) == 2) {
    if (index < 0 || index >= CHECK_SPRITE_COUNT) break;
    if (command[0] == 'L') {
      check_print_levels(&check_sprites[index]);
    } else if (command[0] != 'D' || !check_screen(&check_sprites[index])) {
      break;
    }
  }
  if (!feof(stdin)) {
    fprintf(stderr, "companion_check: malformed command on standard input\n");
    return 1;
  }
  return 0;
}
