// The stb_truetype implementation, compiled once. The engine hands it only glyphs and tables it
// has checked (see TrueTypeFace.cpp), since the library trusts the bytes it reads.
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>
