// Text is UTF-8 in memory and in new files. Strings from older files that are
// not valid UTF-8 come from the Windows code page of the active layout set:
// 1252 by default, 949 (Korean) or 932 (Japanese) for the second set.
#pragma once

#include <string>

bool isValidUtf8(const std::string& s);

// 1252, 949 or 932; any other value selects 1252.
void setLegacyCodePage(int codePage);
int getLegacyCodePage();

// Returns s unchanged when it is valid UTF-8, else its decoding from the legacy
// code page. Bytes the code page does not define are taken as Latin-1.
std::string toUtf8FromLegacy(const std::string& s);
