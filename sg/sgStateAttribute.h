// Base of the attribute objects a geometry state takes through sgGeoState::sgAttr
// (material, texture, texture environment, texture generation). The state keeps
// its own copy, so callers may attach a temporary and delete it at once.
#pragma once

class sgGeoState;

// Key of the texture-generation attribute (the others use GL names:
// GL_FRONT material, GL_TEXTURE_2D texture, GL_TEXTURE_ENV environment).
constexpr int SG_TEXGEN_KEY = 0x20000;

class sgStateAttribute {
public:
    virtual ~sgStateAttribute() = default;
    virtual const char* getTypeName() const = 0;
    virtual sgStateAttribute* clone() const = 0;
    // The key this attribute is attached under.
    virtual int getKey() const = 0;
    // Writes the attribute's values into the state.
    virtual void writeInto(sgGeoState& state) const = 0;
};
