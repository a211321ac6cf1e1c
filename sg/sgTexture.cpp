#include "sg/sgTexture.h"

#include <GL/gl.h>

#include <cstdio>

#include "sg/sgGeoState.h"
#include "sg/sgImage.h"
#include "sg/sgRuntime.h"
#include "sg/sgTextureFileTable.h"

int sgTextureFormatOf(const std::string& path) {
    std::string ext;
    if (!sgGetExtension(path, ext)) return -1;
    static const struct {
        const char* lower;
        const char* upper;
        int code;
    } kFormats[] = {{"tga", "TGA", SG_FMT_TGA}, {"bmp", "BMP", SG_FMT_DIB}, {"jpg", "JPG", SG_FMT_JPEG},
                    {"png", "PNG", SG_FMT_PNG}, {"rgb", "RGB", SG_FMT_RGB}, {"4dv", "4DV", SG_FMT_HANDLE}};
    for (const auto& f : kFormats)
        if (ext == f.lower || ext == f.upper) return f.code;
    std::fprintf(stderr, "SG: unsupported texture format: %s\n", ext.c_str());
    return -1;
}

int sgTexture::getKey() const { return GL_TEXTURE_2D; }

int sgTexture::loadFile(const std::string& path) {
    if (path.empty()) {
        fileName_.clear();
        format_ = -1;
        return 1;
    }
    int format = sgTextureFormatOf(path);
    if (format < 0) return 0;
    fileName_ = path;
    format_ = format;
    return 1;
}

void sgTexture::setFilter(int name, int value) {
    for (Filter& f : filters_) {
        if (f.name == name) {
            f.value = value;
            return;
        }
    }
    filters_.push_back(Filter{name, value});
}

int sgTexture::getFilter(int name) const {
    for (const Filter& f : filters_)
        if (f.name == name) return f.value;
    return -1;
}

void sgTexture::writeInto(sgGeoState& state) const {
    sgTextureFileEntry* single = nullptr;
    std::vector<sgTextureFileEntry*> sequence;
    if (!fileName_.empty()) {
        sgTextureFileTable& table = sgGetTextureFileTable();
        if (state.getTextureMode() == sgGeoState::SG_TEX_SINGLE) {
            single = table.lookup(fileName_);
        } else if (state.getTextureMode() == sgGeoState::SG_TEX_SEQUENCE) {
            int n = state.getSequenceCount();
            for (int i = 0; i < n; ++i) {
                std::string numbered;
                // A name without digits before its extension names one image.
                if (!sgNumberedName(fileName_, numbered, i)) numbered = fileName_;
                sequence.push_back(table.lookup(numbered));
            }
        }
    }
    state.setTextureSource(single, std::move(sequence), format_, getFilter(GL_TEXTURE_MIN_FILTER),
                           getFilter(GL_TEXTURE_MAG_FILTER));
}
