/* Cycles for one BLITVIEW_PUT of a 16x16 sprite with grey at x = 3, against a plain loop
 * that copies the bytes that draw writes (3 per row and plane), on an 8-bit machine.
 * BENCH_RUN picks what runs: 0 nothing, 1 the draw, 2 the copy loop. On AVR the program
 * counts cycles with Timer 1 and prints both; under sim65, companion.sh takes the
 * difference between the whole runs' cycle counts.
 */
#define BLITVIEW_IMPLEMENTATION
#include "Blitview.h"

#define BENCH_WIDTH 16
#define BENCH_HEIGHT 16
static unsigned short bench1[BENCH_HEIGHT] = {0x0FF0, 0x3FFC, 0x7FFE, 0x7FFE, 0xF3CF, 0xF3CF,
                                              0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF,
                                              0xEEEF, 0xC6C7, 0x8283, 0x0101};
static unsigned short bench2[BENCH_HEIGHT] = {0x0000, 0x03C0, 0x0FF0, 0x1FF8, 0x3C3C, 0x3C3C,
                                              0x3FFC, 0x3FFC, 0x3FFC, 0x3FFC, 0x3FFC, 0x3FFC,
                                              0x2AAA, 0x0000, 0x0000, 0x0000};
static blitview_sprite bench_sprite; /* filled at run time, as the old header's macros are no
                                        constants to cc65 */
#define SCREEN_BYTES 8
#define SCREEN_ROWS 20
static unsigned char plane1[SCREEN_BYTES * SCREEN_ROWS], plane2[SCREEN_BYTES * SCREEN_ROWS];
static const blitview_framebuffer screen = {plane1, plane2, SCREEN_BYTES, SCREEN_ROWS};
#define COPY_BYTES (3 * BENCH_HEIGHT * 2)
unsigned char copy_from[COPY_BYTES], copy_to[COPY_BYTES]; /* not static: kept */

static void bench_draw(void) { blitview_draw(&bench_sprite, &screen, 3, 0, BLITVIEW_PUT); }

static void bench_describe(void) {
  bench_sprite.width = BENCH_WIDTH;
  bench_sprite.height = BENCH_HEIGHT;
  bench_sprite.rows = BLITVIEW_ROWS_16;
  bench_sprite.plane1 = bench1;
  bench_sprite.plane2 = bench2;
}

static void bench_copy(void) {
  unsigned i;
  for (i = 0; i < COPY_BYTES; ++i) copy_to[i] = copy_from[i];
}

#if defined(__AVR__)
#include <avr/interrupt.h>
#include <avr/io.h>
#include <avr/sleep.h>
static volatile unsigned long overflows;
ISR(TIMER1_OVF_vect) { ++overflows; }

static unsigned long cycles_of(void (*run)(void)) {
  unsigned long start;
  TCCR1B = 0;
  TCNT1 = 0;
  overflows = 0;
  TIFR1 = 1 << TOV1;
  TCCR1B = 1 << CS10; /* counts every cycle */
  run();
  start = TCNT1; /* read while it runs: simavr keeps no count in a stopped timer */
  TCCR1B = 0;
  if (TIFR1 & (1 << TOV1)) start = 0xFFFFu; /* an overflow not yet taken: not expected */
  return (overflows << 16) + start;
}

static void put_number(const char* label, unsigned long value) {
  char digits[12];
  int n = 0;
  while (*label) {
    while (!(UCSR0A & (1 << UDRE0))) continue;
    UDR0 = (unsigned char)*label++;
  }
  do digits[n++] = (char)('0' + value % 10);
  while ((value /= 10) > 0);
  while (n-- > 0) {
    while (!(UCSR0A & (1 << UDRE0))) continue;
    UDR0 = (unsigned char)digits[n];
  }
}

static void nothing(void) {}

int main(void) {
  unsigned long base;
  bench_describe();
  UCSR0B = 1 << TXEN0;
  TIMSK1 = 1 << TOIE1;
  sei();
  base = cycles_of(nothing);
  put_number("draw ", cycles_of(bench_draw) - base);
  put_number(" copy ", cycles_of(bench_copy) - base);
  put_number(" end", 0);
  while (!(UCSR0A & (1 << UDRE0))) continue;
  UDR0 = '\n';
  cli();
  sleep_cpu();
  return 0;
}
#else
static void nothing(void) {}
static void (*const runs[3])(void) = {nothing, bench_draw, bench_copy};

int main(void) {
  bench_describe();
  runs[BENCH_RUN]();
  return plane1[0] + copy_to[0];
}
#endif
