// Helpers for writing ".apn" scene files. Numbers are always written in the
// C locale ("1.500000", never "1,500000"), whatever locale the program runs
// in. A key line is four blanks, the key, a separator (a tab unless the block
// says otherwise), the value and a newline.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>

#include "sg/sgVec.h"

// fprintf in the C locale. Returns fprintf's result (negative on failure).
int pnWritef(FILE* f, const char* format, ...) __attribute__((format(printf, 2, 3)));
int pnVWritef(FILE* f, const char* format, va_list args);

// A name or text made safe for a quoted value: the file format has no
// escapes, so every double quote becomes a single quote.
std::string pnQuotable(const std::string& text);
// The path as written: converted with pnPortablePath (scene/pnPortablePath.h,
// every backslash becomes '/') when convertPaths is non-zero.
std::string pnWrittenPath(const std::string& path, int convertPaths);

// "keyword {\n" and "}\n\n".
int pnWriteBlockBegin(FILE* f, const char* keyword);
int pnWriteBlockEnd(FILE* f);

// Key lines. `sep` is what stands between key and value ("\t" by default).
// Every helper returns the fprintf result of its line (negative on failure).
int pnWriteInt(FILE* f, const char* key, int value, const char* sep = "\t");
// "%f".
int pnWriteFloat(FILE* f, const char* key, double value, const char* sep = "\t");
// "\"text\"" with double quotes inside replaced (pnQuotable).
int pnWriteQuoted(FILE* f, const char* key, const std::string& text, const char* sep = "\t");
// A bare word such as Bottom.
int pnWriteWord(FILE* f, const char* key, const char* word, const char* sep = "\t");
// "( %f %f )".
int pnWriteVec2(FILE* f, const char* key, float a, float b);
// "( %f %f %f )"; trailingBlank adds a blank before the newline (scale,
// scaleOrigin and center are written that way).
int pnWriteVec3(FILE* f, const char* key, const sgVec3& v, bool trailingBlank = false);
// "(%f %f %f %f)" (compact) or "( %f %f %f %f )" (spaced).
int pnWriteVec4(FILE* f, const char* key, const sgVec4& v, bool spaced);

// 1 when nothing written to f has failed so far.
int pnWriteOk(FILE* f);
