// The scene's single background: a colour and an image file, which playback
// hands to the channel.
#pragma once

#include "scene/pnObject.h"

class pnBackground : public pnObject {
public:
    // Named "Background".
    pnBackground();

    const char* getTypeName() const override { return "pnBackground"; }
    static constexpr pnObjectKind kKind = pnObjectKind::Background;
    // The background image.
    void setFileName(const char* file) override;
    int copy(const pnObject* other) override;
    // The "background" block.
    int write(FILE* f, int convertPaths) override;

    void setColor(const sgVec4& color);
    sgVec4 getColor() const { return color; }
    int getColorSet() const { return colorSet; }
    // 1: show the image named by the file.
    void setUseTexture(int use) { useTexture = use; }
    int getUseTexture() const { return useTexture; }

private:
    sgVec4 color{0, 0, 0, 0};
    int colorSet = 0;
    int useTexture = 0;
};
