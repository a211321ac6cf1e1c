// Program-wide services of the scene-graph library: the error printer, flags the
// application sets, file-name utilities, the name cut, message and debug hooks.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Error printer to standard output: 0 free error, 1 allocation failure,
// 2 switch setting failure; any other code prints nothing.
void sgPrintError(int code, const char* name);

// Flags and values the application sets.
void sgSetTextureReload(int on);
int sgGetTextureReload();
void sgSetAlphaOutput(int on);
int sgGetAlphaOutput();
void sgSetCurrentFrame(int frame);
int sgGetCurrentFrame();
// Render mode of the current traversal (GL_RENDER or GL_SELECT); geometry sets
// enter themselves in the display-list table while it is GL_SELECT.
void sgSetRenderMode(int mode);
int sgGetRenderMode();

// File names. All return 0 on failure and leave `out` untouched.
// Extension: the first three characters after the last '.'.
int sgGetExtension(const std::string& path, std::string& ext);
// Replaces the extension of the last path component (the text after its last '.').
int replaceExtension(const std::string& path, std::string& out, const std::string& extension);
int convertSlashes(const std::string& path, std::string& out);
// Index of the last '.', or -1.
int sgLastDot(const std::string& s);
// Count of the digits directly before the last '.', -1 without a '.'.
int sgDigitsBeforeDot(const std::string& s);
// Replaces the digit run before the last '.' by the last digits of "%07d" of
// index: frame0000000.png + 12 -> frame0000012.png, a1.tga + 123 -> a3.tga.
int sgNumberedName(const std::string& name, std::string& out, int index);

// Millisecond clock (wraps like a 32-bit counter), through the installed sgClock.
uint32_t sgTimeMs();

// The longest prefix of text of at most maxBytes bytes that does not cut a
// UTF-8 sequence in half.
std::string sgCutBytes(const std::string& text, size_t maxBytes);

// Names (of objects, materials, lights, events, effects, styles and points'
// texts) keep at most 127 characters, never cutting a UTF-8 sequence in
// half. A legacy file keeps a name in 127 bytes of its own code page, so it
// holds at most 127 characters: recoded to UTF-8 (up to three bytes each) it
// stays whole, and a name written back reads back the same.
constexpr size_t SG_NAME_MAX = 127;
std::string sgCutName(const std::string& name);
std::string sgCutName(const char* name);
// The characters of UTF-8 text (bytes that do not continue a sequence).
size_t sgCharCount(const std::string& text);
// The longest prefix of text of at most maxChars characters.
std::string sgCutChars(const std::string& text, size_t maxChars);

// Failures a user must see (caption "Error" and the like). The program installs
// a message box; tests install a recorder; by default the text goes to stderr.
using sgErrorReporter = void (*)(const char* caption, const char* text);
void sgSetErrorReporter(sgErrorReporter reporter);
sgErrorReporter sgGetErrorReporter();
void sgReportError(const char* caption, const char* text);

// Diagnostic prints, prefix "TORVIS: ". They write only when a stream is set.
void setDiagnosticStream(FILE* stream);
void debugPrint(const char* s);
void debugPrint2(const char* a, const char* b);
void debugPrint3(const char* a, const char* b, const char* c);
void debugPrintInt(const char* s, int d);
void debugPrintFloat(const char* s, double f);
