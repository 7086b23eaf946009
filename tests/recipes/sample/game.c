/* The sample game: prints what it knows of each sprite. The sprite headers come from the
   build, as quillbit_add_sprites() or the Make recipe of README.md convert them. This file
   holds the drawing code; enemies.c includes Blitview.h for its declarations only. */
#define BLITVIEW_IMPLEMENTATION
#include "game.h"

#include <stdio.h>

#include "sprites/ball.h"
#include "sprites/ship.h"

void print_sprite(const char* name, const blitview_sprite* sprite) {
  int x, y, drawn = 0;
  for (y = 0; y < sprite->height; ++y) {
    for (x = 0; x < sprite->width; ++x) {
      if (blitview_level(sprite, x, y) != BLITVIEW_BACKGROUND) ++drawn;
    }
  }
  printf("%s %dx%d: %d pixels\n", name, sprite->width, sprite->height, drawn);
}

int main(void) {
  static const blitview_sprite ship_sprite = BLITVIEW_GREY(SHIP, ship);
  static const blitview_sprite ball_sprite = BLITVIEW_MONO(BALL, ball);
  print_sprite("sprites/ship", &ship_sprite);
  print_sprite("sprites/ball", &ball_sprite);
  print_enemies();
  return 0;
}
