/* Blitview.h - reads and draws the sprites that quillbit writes. */
#ifndef BLITVIEW_H
#define BLITVIEW_H
#endif
