// The state a command handler gives its menu item and tool button.
#pragma once

struct CCmdUI {
    int id = 0;
    bool enabled = true;
    int checked = -1;  // -1 leaves the check mark as it is
    void Enable(bool on) { enabled = on; }
    void SetCheck(int on) { checked = on ? 1 : 0; }
};
