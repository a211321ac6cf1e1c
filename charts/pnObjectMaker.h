// New, empty objects by type name: the one place that names every kind's
// class, in the layer that sees the chart kinds as well.
#pragma once

#include <memory>

class pnObject;

// A new object of the kind the name names; null for a name of no kind (null
// included). Every call makes an object of its own: an undo snapshot never
// shares the live object.
std::unique_ptr<pnObject> pnMakeObject(const char* typeName);
