/* Reads a game window in one look at the X server and prints what a player sees of the board's
 * side of the stage: eight lines of eight characters for the board, 'o' a bubble, '.' an empty
 * cell, '#' a cell covered by the shell's own drawing (a dialog, the pause); then a line
 * "dialog none", "dialog above" (in the band above the board) or "dialog over" (over the
 * board), found by its dark title bar; then "field yes" when a white text field shows in it.
 * The window shows the stage at scale 1 from its top-left corner; a cell is read at the middle
 * of its bubble.
 * Usage: board_cells WINDOW_ID */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>

static int Near(unsigned long pixel, int r, int g, int b) {
    const int pr = (int)((pixel >> 16) & 0xFF), pg = (int)((pixel >> 8) & 0xFF), pb = (int)(pixel & 0xFF);
    return abs(pr - r) <= 12 && abs(pg - g) <= 12 && abs(pb - b) <= 12;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: board_cells WINDOW_ID\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "board_cells: no display\n");
        return 1;
    }
    const Window window = (Window)strtoul(argv[1], NULL, 0);
    XImage* image = XGetImage(display, window, 0, 0, 290, 420, AllPlanes, ZPixmap);
    if (image == NULL) {
        fprintf(stderr, "board_cells: cannot read window %s\n", argv[1]);
        XCloseDisplay(display);
        return 1;
    }
    for (int row = 0; row < 8; ++row) {
        for (int col = 0; col < 8; ++col) {
            const unsigned long p = XGetPixel(image, 9 + 35 * col + 16, 134 + 35 * row + 16);
            char c = 'o';
            if (Near(p, 197, 222, 223)) {
                c = '.';
            } else if (Near(p, 51, 153, 153) || Near(p, 0, 51, 51)) {
                c = '#';
            }
            putchar(c);
        }
        putchar('\n');
    }
    /* A dialog's title bar: a row of dark pixels most of the width of the board's side (the
     * board's own frame lines, rows 131 and 412, are not one). */
    const char* dialog = "none";
    int field = 0;
    for (int y = 0; y < 420; ++y) {
        int dark = 0, white = 0;
        for (int x = 0; x < 290; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            dark += Near(p, 0, 51, 51);
            white += Near(p, 255, 255, 255);
        }
        if (dark >= 200 && y != 131 && y != 412 && dialog[0] == 'n') dialog = y < 131 ? "above" : "over";
        if (white >= 150) field = 1;
    }
    printf("dialog %s\nfield %s\n", dialog, field ? "yes" : "no");
    XDestroyImage(image);
    XCloseDisplay(display);
    return 0;
}
