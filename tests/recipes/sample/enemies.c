/* The enemy's ship: a sprite of the same name as the player's, from another folder, so
   in a source file of its own (each sprite header defines its arrays). */
#include "enemies/ship.h"
#include "game.h"

void print_enemies(void) {
  static const blitview_sprite enemy_sprite = BLITVIEW_MONO(SHIP, ship);
  print_sprite("enemies/ship", &enemy_sprite);
}
