// The texture settings of a kind that textures its own geometry (model, panel,
// text, counter). Every setter stores its value in the object's fields, then
// tells the kind what changed so that it brings its built geometry up to date.
#pragma once

#include "scene/pnObject.h"

class pnTexturedObject : public pnObject {
public:
    void setTexture(const char* texture) override;
    void setMode(int mode) override;
    void setTexMode(int texMode) override;
    void setNumIndex(int numIndex) override;
    // Ignored while mode is 0 (no texture coordinates) or 4 (sphere map).
    void setTexMove(float s, float t) override;
    void setTexRotate(float s, float t) override;
    void setTexScale(float s, float t) override;
    void resetTexPlanes() override;

protected:
    enum class TextureChange { Texture, Mode, TexMode, NumIndex, Planes };
    // Called after the field is stored, built or not.
    virtual void textureChanged(TextureChange what) = 0;
};
