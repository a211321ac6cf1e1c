// Material and texture state of one geometry set. Attribute objects attached
// with sgAttr write their values into the state; the set applies the state
// before it draws. Textures are read and uploaded lazily, once per file.
#pragma once

#include <memory>
#include <vector>

#include "sg/sgStateAttribute.h"
#include "sg/sgTexEnv.h"
#include "sg/sgVec.h"

struct sgTextureFileEntry;

class sgGeoState {
public:
    enum { SG_TEX_SINGLE = 0, SG_TEX_SEQUENCE = 1, SG_TEX_NONE = 2 };

    sgGeoState() = default;
    virtual ~sgGeoState();
    sgGeoState(const sgGeoState&) = delete;
    sgGeoState& operator=(const sgGeoState&) = delete;

    // Same colours, texture entries, texture mode and sequence, filters,
    // environment, generation modes and planes, and copies of the attributes.
    virtual sgGeoState* copy() const;
    virtual const char* getTypeName() const { return "sgGeoState"; }
    // Sends the material; enables, converts and binds the texture (or disables
    // texturing when there is none or it could not be loaded).
    virtual void apply(int pass);
    // Reads and uploads the single texture when its entry is not loaded yet.
    virtual void convertGL();
    // Converts every element of the sequence that is not loaded yet.
    virtual void convertSequence();
    virtual void convertSequenceElement(int i);

    // Attaches a copy of attr under key (GL_FRONT material, GL_TEXTURE_2D
    // texture, GL_TEXTURE_ENV environment, SG_TEXGEN_KEY generation) and lets it
    // write itself into the state. Null or an attribute of another key: 0.
    int sgAttr(int key, const sgStateAttribute* attr);
    // The state's copy attached under key, or null. Changing it takes effect
    // when it is attached again.
    sgStateAttribute* getAttr(int key) const;

    // Colours: GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_EMISSION, GL_SHININESS
    // (shininess and three spare values).
    void setColor(int name, const sgVec4& value);
    sgVec4 getColor(int name) const;
    // The colour drawn now: the fade's while one is set, else the own one.
    sgVec4 getShownColor(int name) const;
    // The diffuse alpha drawn now; below 1 the set draws in the transparent
    // passes.
    float getAlpha() const { return faded_ ? fade_[1][3] : diffuse_[3]; }
    // A colour fade: ambient, diffuse, specular, emission and shininess drawn
    // in place of the state's own colours, which stay as they are, until the
    // fade is cleared.
    void setFadeColors(const sgVec4& ambient, const sgVec4& diffuse, const sgVec4& specular, const sgVec4& emission,
                       const sgVec4& shininess);
    void clearFadeColors() { faded_ = false; }
    bool hasFadeColors() const { return faded_; }

    // Texture mode. Changing the mode or the sequence length while a texture is
    // attached names the texture's entries again.
    void setTextureMode(int mode);
    int getTextureMode() const { return texMode_; }
    void setSequenceCount(int n);
    int getSequenceCount() const { return seqCount_; }
    // A negative frame follows the library's current frame (sgGetCurrentFrame).
    void setSequenceFrame(int frame) { seqFrame_ = frame; }
    int getSequenceFrame() const { return seqFrame_; }
    // Stores index modulo the sequence length (the frame is set to it).
    void setSequenceIndex(int index);
    // Index of the element drawn now: frame modulo length; -1 without a sequence.
    int getSequenceIndex() const;
    sgTextureFileEntry* getSequenceEntry(int i) const;

    sgTextureFileEntry* getTexture() const { return texture_; }
    // The entry drawn now (mode 0 the texture, 1 the current sequence element).
    sgTextureFileEntry* currentTexture() const;
    int getFormat() const { return format_; }
    int getMinFilter() const { return minFilter_; }
    int getTexGenMode(int i) const { return i >= 0 && i < 4 ? genMode_[i] : 0; }
    const float* getTexGenPlane(int i) const { return planes_[i >= 0 && i < 4 ? i : 0]; }
    int getOpaqueTexture() const { return opaqueTexture_; }

    // Written by the attributes.
    void setTextureSource(sgTextureFileEntry* single, std::vector<sgTextureFileEntry*> sequence, int format,
                          int minFilter, int magFilter);
    void setTexEnv(const sgTexEnv& env);
    void setTexGen(int i, int mode, const float plane[4]);

private:
    void reattachTexture();
    bool convertEntry(sgTextureFileEntry* entry);

    struct Attr {
        int key;
        std::unique_ptr<sgStateAttribute> attr;
    };
    std::vector<Attr> attrs_;
    sgVec4 ambient_{0.2f, 0.2f, 0.2f, 1};
    sgVec4 diffuse_{0.8f, 0.8f, 0.8f, 1};
    sgVec4 specular_{0, 0, 0, 1};
    sgVec4 emission_{0, 0, 0, 1};
    sgVec4 shininess_{0, 0, 0, 1};
    bool faded_ = false;
    sgVec4 fade_[5];  // ambient, diffuse, specular, emission, shininess
    int texMode_ = SG_TEX_SINGLE;
    sgTextureFileEntry* texture_ = nullptr;
    int seqCount_ = 0;
    int seqFrame_ = 0;
    std::vector<sgTextureFileEntry*> sequence_;
    int format_ = -1;
    int minFilter_ = -1;
    int magFilter_ = -1;
    std::unique_ptr<sgTexEnv> texEnv_;
    int genMode_[4] = {0, 0, 0, 0};
    float planes_[4][4] = {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}};
    int opaqueTexture_ = 1;
};
