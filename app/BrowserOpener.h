// Opens a URL with the desktop's opener (xdg-open) and finds out from its
// exit status whether a browser really opened. Starting the opener is not
// enough: it fails when no browser or handler is installed.
#pragma once

#include <functional>
#include <string>

class wxWindow;

// Runs the opener without waiting for it. failed runs when the opener cannot
// be started (at once) or ends with a status other than 0 (when it ends; a
// browser that the opener runs in the foreground ends it only when it is
// closed). Once guard is destroyed, failed no longer runs.
void OpenInBrowser(const std::string& url, wxWindow* guard, std::function<void()> failed);
