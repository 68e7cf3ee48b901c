#pragma once
// The open-file dialog for a background picture, with a preview of the selected bitmap.
#include <windows.h>

#include <cstddef>

// Opens the chooser on io_file (a path of at most size - 1 bytes); on confirmation
// io_file holds the chosen full path and the result is true.
bool ChoosePicture(HWND owner, char* io_file, size_t size);
