#ifndef GAME_H
#define GAME_H

#include "Blitview.h"

void print_sprite(const char* name, const blitview_sprite* sprite);
void print_enemies(void);

#endif
