/* A shared library with nothing a game library exports. */
int NotAGameAtAll(void) { return 0; }
