// Texture attribute: a file name whose extension selects the image format, and
// filter parameters. Written into a state it names the texture-file table entry
// (or, for a numbered sequence, one entry per numbered file).
#pragma once

#include <string>
#include <vector>

#include "sg/sgStateAttribute.h"

class sgTexture : public sgStateAttribute {
public:
    const char* getTypeName() const override { return "sgTexture"; }
    sgStateAttribute* clone() const override { return new sgTexture(*this); }
    int getKey() const override;  // GL_TEXTURE_2D
    void writeInto(sgGeoState& state) const override;

    // The extension (first three characters after the last '.', all lower or
    // all upper case) selects the format: tga 2, bmp 1, jpg 3, png 4, rgb 0,
    // 4dv 9. Another extension prints "SG: unsupported texture format: %s\n"
    // and fails (0); a name without '.' fails silently. An empty name clears
    // the texture (1).
    int loadFile(const std::string& path);
    const std::string& getFileName() const { return fileName_; }
    int getFormat() const { return format_; }

    // Records a GL texture parameter (GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER).
    void setFilter(int name, int value);
    // The recorded value, or -1.
    int getFilter(int name) const;

private:
    struct Filter {
        int name;
        int value;
    };
    std::string fileName_;
    int format_ = -1;
    std::vector<Filter> filters_;
};

// Format code of a texture file name by its extension, -1 when refused (the
// message is printed for an unsupported extension).
int sgTextureFormatOf(const std::string& path);
