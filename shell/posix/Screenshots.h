// Screenshots on a desktop: PNG files of the stage, written where the user keeps pictures.
#pragma once

#include <string>

#include "shell/core/Pixmap.h"

namespace shell {

// Writes a picture as a PNG; false with one line in the log.
bool SavePicture(const Pixmap& picture, const std::string& path);
// Where F12 writes: the user's pictures folder (xdg-user-dir, then $HOME/Pictures), else
// `fallback`.
std::string PicturesFolder(const std::string& fallback);
// A file in `folder` named after the local time, not yet taken.
std::string ScreenshotPath(const std::string& folder);
// Writes a screenshot of `picture` into the pictures folder (else the data folder); the path,
// or empty when it could not be written.
std::string SaveScreenshot(const Pixmap& picture);

}  // namespace shell
