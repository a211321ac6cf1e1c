// A named text style. The scene keeps a list of them and finds them by name.
#pragma once

#include <string>

#include "sg/sgRuntime.h"

class pnStringProperty {
public:
    pnStringProperty() = default;
    virtual ~pnStringProperty() = default;
    pnStringProperty(const pnStringProperty&) = delete;
    pnStringProperty& operator=(const pnStringProperty&) = delete;

    // Takes other's settings, its name included (an unnamed style makes this
    // one unnamed). Returns 1 (0 for null).
    int copy(const pnStringProperty* other) {
        if (!other) return 0;
        if (other != this) name = other->name;
        return 1;
    }

    // Null is ignored; the name is cut at the name limit.
    void setName(const char* n) {
        if (n) name = sgCutName(n);
    }
    const std::string& getName() const { return name; }

private:
    std::string name;
};
