// png.hpp: the picture as a PNG file.
#pragma once

// Writes the picture to `path`: an 8-bit palette image when it has at most
// 256 colours, else 8-bit RGB; the same colour at every pixel either way.
// False if the file cannot be written.
bool save_screen_png(const char *path);
