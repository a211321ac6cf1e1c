// Path conversion for scenes saved for another system (the document's
// portable-paths setting): stored Windows paths become forward-slash paths and
// sounds name the ".aiff" twin of their wave file.
#pragma once

#include <string>

// Object files and textures: every backslash becomes '/'.
std::string pnPortablePath(const std::string& path);

// Sound files: backslashes become '/' and the extension of the last path
// component becomes "aiff" ("D:\snd\old.set\hit.wav" -> "D:/snd/old.set/hit.aiff").
// Returns 0, leaving out alone, when the last component has no extension: such
// a sound is not written.
int pnPortableSoundPath(const std::string& path, std::string& out);
