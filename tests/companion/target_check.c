/* Prints, for test_targets.py, per sprite of target_sprites[] (target_sprites.c, which the
 * test writes) the levels of its first and last rows and of three pixels outside, then a
 * line of hex per screen plane after each draw onto a freshly patterned screen. */
#define BLITVIEW_IMPLEMENTATION
#include "Blitview.h"

/* How each machine hands a character to its simulator, and stops. */
#if defined(__AVR__)
#include <avr/interrupt.h>
#include <avr/io.h>
#include <avr/sleep.h>
static void target_putc(char c) {
  UCSR0B = 1 << TXEN0;
  while (!(UCSR0A & (1 << UDRE0))) continue;
  UDR0 = (unsigned char)c;
}
static void target_stop(void) {
  cli();
  sleep_cpu(); /* simavr ends on sleep with interrupts off */
}
#elif defined(__arm__)
static int target_semihost(int operation, const void* argument) {
  register int r0 __asm__("r0") = operation;
  register const void* r1 __asm__("r1") = argument;
  __asm__ volatile("bkpt 0xab" : "+r"(r0) : "r"(r1) : "memory");
  return r0;
}
static void target_putc(char c) { target_semihost(0x03, &c); }
static void target_stop(void) { target_semihost(0x18, (const void*)0x20026); }
#elif defined(__m68k__)
static void target_syscall(long number, long a, long b, long c) {
  register long d0 __asm__("d0") = number;
  register long d1 __asm__("d1") = a;
  register long d2 __asm__("d2") = b;
  register long d3 __asm__("d3") = c;
  __asm__ volatile("trap #0" : "+d"(d0) : "d"(d1), "d"(d2), "d"(d3) : "memory");
}
static void target_putc(char c) { target_syscall(4, 1, (long)&c, 1); }
static void target_stop(void) { target_syscall(1, 0, 0, 0); }
#elif defined(__SDCC)
/* ucsim's simulator interface: 'p' then a character prints it, 's' stops. */
#if defined(__SDCC_z80)
__sfr __at 0xff target_simif;
#elif defined(__SDCC_mcs51)
#define target_simif (*(volatile __xdata unsigned char*)0xFFFF)
#else
#define target_simif (*(volatile unsigned char*)0xFFFF)
#endif
static void target_putc(char c) {
  target_simif = 'p';
  target_simif = (unsigned char)c;
}
static void target_stop(void) { target_simif = 's'; }
#else
#include <stdio.h>
static void target_putc(char c) { putchar(c); }
static void target_stop(void) {}
#endif

extern const blitview_sprite target_sprites[];
extern const int target_sprite_count;

#define SCREEN_BYTES 7 /* as in test_companion.py, whose pixel model checks the output */
#define SCREEN_ROWS 12
#define SCREEN_SIZE (SCREEN_BYTES * SCREEN_ROWS)
static unsigned char plane1[SCREEN_SIZE], plane2[SCREEN_SIZE];

static void put_hex(unsigned value) {
  target_putc("0123456789ABCDEF"[(value >> 4) & 15u]);
  target_putc("0123456789ABCDEF"[value & 15u]);
}

static void put_levels(const blitview_sprite* sprite, int y) {
  int x;
  for (x = 0; x < sprite->width; ++x) target_putc((char)('0' + blitview_level(sprite, x, y)));
  target_putc('\n');
}

/* Fills the screen with a pattern, draws once and prints the planes drawn on. */
static void draw_and_print(const blitview_sprite* sprite, int planes, int x, int y, int mode) {
  blitview_framebuffer screen;
  int i;
  for (i = 0; i < SCREEN_SIZE; ++i) {
    plane1[i] = (unsigned char)((i * 37 + 11) & 0xFF);
    plane2[i] = (unsigned char)((i * 37 + 112) & 0xFF);
  }
  screen.plane1 = plane1;
  screen.plane2 = planes == 2 ? plane2 : NULL;
  screen.width_bytes = SCREEN_BYTES;
  screen.height = SCREEN_ROWS;
  blitview_draw(sprite, &screen, x, y, (blitview_mode)mode);
  for (i = 0; i < SCREEN_SIZE; ++i) put_hex(plane1[i]);
  target_putc('\n');
  for (i = 0; planes == 2 && i < SCREEN_SIZE; ++i) put_hex(plane2[i]);
  target_putc('\n');
}

/* Where the sprite is drawn, as PLACES in test_targets.py: x + dx * width / 2, y + dy *
   height. x offsets inside a byte and on a byte boundary; clipped at each edge; just
   outside each edge. */
static const signed char places[][4] = {
    {0, 0, 0, 0},  {1, 1, 0, 0},  {3, 2, 0, 0},    {7, 3, 0, 0},   {8, 4, 0, 0},
    {13, 5, 0, 0}, {-5, 1, 0, 0}, {55, -2, -1, 0}, {11, 10, 0, 0}, {0, 0, -2, 0},
    {56, 0, 0, 0}, {0, 12, 0, 0}, {0, 0, 0, -1}};

static void check_sprite(const blitview_sprite* sprite) {
  const int w = sprite->width, h = sprite->height;
  int mode, i;
  put_levels(sprite, 0);
  put_levels(sprite, h - 1);
  target_putc((char)('0' + blitview_level(sprite, -1, 0)));
  target_putc((char)('0' + blitview_level(sprite, w, 0)));
  target_putc((char)('0' + blitview_level(sprite, 0, h)));
  target_putc('\n');
  for (mode = BLITVIEW_OR; mode <= BLITVIEW_PUT; ++mode) {
    for (i = 0; i < (int)(sizeof places / sizeof places[0]); ++i) {
      draw_and_print(sprite, 2, places[i][0] + places[i][2] * (w / 2),
                     places[i][1] + places[i][3] * h, mode);
    }
  }
  draw_and_print(sprite, 1, 3, 2, BLITVIEW_PUT);
}

int main(void) {
  int s;
  for (s = 0; s < target_sprite_count; ++s) check_sprite(&target_sprites[s]);
  target_putc('e');
  target_putc('n');
  target_putc('d');
  target_putc('\n');
  target_stop();
  return 0;
}

#if defined(__arm__)
/* The reset vector runs main at once: qemu loads .data and zeroes .bss itself. */
static void target_reset(void) {
  main();
  for (;;) continue;
}
__attribute__((section(".vectors"), used)) static void (*const target_vectors[2])(void) = {
    (void (*)(void))0x20004000, target_reset};
#elif defined(__m68k__)
void _start(void);
void _start(void) { main(); }
#endif
