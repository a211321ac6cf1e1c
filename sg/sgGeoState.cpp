#include "sg/sgGeoState.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>

#include "sg/sgImage.h"
#include "sg/sgRuntime.h"
#include "sg/sgTexEnv.h"
#include "sg/sgTextureFileTable.h"

namespace {
// More images than any sequence needs; a bad count must not make us name
// millions of files.
constexpr int kMaxSequence = 100000;

bool validKey(int key, const sgStateAttribute* attr) {
    return attr && attr->getKey() == key &&
           (key == GL_FRONT || key == GL_TEXTURE_2D || key == GL_TEXTURE_ENV || key == SG_TEXGEN_KEY);
}
}  // namespace

sgGeoState::~sgGeoState() = default;

sgGeoState* sgGeoState::copy() const {
    sgGeoState* s = new sgGeoState;
    s->ambient_ = ambient_;
    s->diffuse_ = diffuse_;
    s->specular_ = specular_;
    s->emission_ = emission_;
    s->shininess_ = shininess_;
    s->texMode_ = texMode_;
    s->texture_ = texture_;
    s->seqCount_ = seqCount_;
    s->seqFrame_ = seqFrame_;
    s->sequence_ = sequence_;
    s->format_ = format_;
    s->minFilter_ = minFilter_;
    s->magFilter_ = magFilter_;
    if (texEnv_) s->texEnv_ = std::make_unique<sgTexEnv>(*texEnv_);
    for (int i = 0; i < 4; ++i) {
        s->genMode_[i] = genMode_[i];
        for (int j = 0; j < 4; ++j) s->planes_[i][j] = planes_[i][j];
    }
    s->opaqueTexture_ = opaqueTexture_;
    for (const Attr& a : attrs_) s->attrs_.push_back(Attr{a.key, std::unique_ptr<sgStateAttribute>(a.attr->clone())});
    return s;
}

int sgGeoState::sgAttr(int key, const sgStateAttribute* attr) {
    if (!validKey(key, attr)) return 0;
    // Keep an own copy: callers attach temporaries and delete them at once.
    std::unique_ptr<sgStateAttribute> own(attr->clone());
    sgStateAttribute* raw = own.get();
    bool replaced = false;
    for (Attr& a : attrs_) {
        if (a.key == key) {
            a.attr = std::move(own);
            replaced = true;
            break;
        }
    }
    if (!replaced) attrs_.push_back(Attr{key, std::move(own)});
    raw->writeInto(*this);
    return 1;
}

sgStateAttribute* sgGeoState::getAttr(int key) const {
    for (const Attr& a : attrs_)
        if (a.key == key) return a.attr.get();
    return nullptr;
}

void sgGeoState::setColor(int name, const sgVec4& value) {
    switch (name) {
        case GL_AMBIENT: ambient_ = value; break;
        case GL_DIFFUSE: diffuse_ = value; break;
        case GL_SPECULAR: specular_ = value; break;
        case GL_EMISSION: emission_ = value; break;
        case GL_SHININESS: shininess_ = value; break;
        default: break;
    }
}

sgVec4 sgGeoState::getColor(int name) const {
    switch (name) {
        case GL_AMBIENT: return ambient_;
        case GL_DIFFUSE: return diffuse_;
        case GL_SPECULAR: return specular_;
        case GL_EMISSION: return emission_;
        case GL_SHININESS: return shininess_;
        default: return sgVec4();
    }
}

sgVec4 sgGeoState::getShownColor(int name) const {
    if (!faded_) return getColor(name);
    switch (name) {
        case GL_AMBIENT: return fade_[0];
        case GL_DIFFUSE: return fade_[1];
        case GL_SPECULAR: return fade_[2];
        case GL_EMISSION: return fade_[3];
        case GL_SHININESS: return fade_[4];
        default: return sgVec4();
    }
}

void sgGeoState::reattachTexture() {
    if (sgStateAttribute* tex = getAttr(GL_TEXTURE_2D)) tex->writeInto(*this);
}

void sgGeoState::setTextureMode(int mode) {
    if (mode == texMode_) return;
    texMode_ = mode;
    reattachTexture();
}

void sgGeoState::setSequenceCount(int n) {
    if (n > kMaxSequence) n = kMaxSequence;
    if (n == seqCount_) return;
    seqCount_ = n;
    if (texMode_ == SG_TEX_SEQUENCE) reattachTexture();
}

void sgGeoState::setSequenceIndex(int index) {
    int n = static_cast<int>(sequence_.size());
    if (n < 1) return;
    seqFrame_ = ((index % n) + n) % n;
}

int sgGeoState::getSequenceIndex() const {
    int n = static_cast<int>(sequence_.size());
    if (n < 1) return -1;  // a length below 1 means no texture (never a division by 0)
    int frame = seqFrame_ < 0 ? sgGetCurrentFrame() : seqFrame_;
    return ((frame % n) + n) % n;
}

sgTextureFileEntry* sgGeoState::getSequenceEntry(int i) const {
    if (i < 0 || i >= static_cast<int>(sequence_.size())) return nullptr;
    return sequence_[static_cast<size_t>(i)];
}

sgTextureFileEntry* sgGeoState::currentTexture() const {
    if (texMode_ == SG_TEX_SINGLE) return texture_;
    if (texMode_ == SG_TEX_SEQUENCE) return getSequenceEntry(getSequenceIndex());
    return nullptr;
}

void sgGeoState::setTextureSource(sgTextureFileEntry* single, std::vector<sgTextureFileEntry*> sequence, int format,
                                  int minFilter, int magFilter) {
    texture_ = single;
    sequence_ = std::move(sequence);
    format_ = format;
    minFilter_ = minFilter;
    magFilter_ = magFilter;
}

void sgGeoState::setTexEnv(const sgTexEnv& env) { texEnv_ = std::make_unique<sgTexEnv>(env); }

void sgGeoState::setTexGen(int i, int mode, const float plane[4]) {
    if (i < 0 || i > 3) return;
    genMode_[i] = mode;
    for (int j = 0; j < 4; ++j) planes_[i][j] = plane[j];
}

bool sgGeoState::convertEntry(sgTextureFileEntry* entry) {
    if (!entry || entry->glId != 0 || entry->failed) return entry && entry->glId != 0;
    entry->components = 3;
    const std::string path = sgResolveTexturePath(entry->name);
    sgImagePtr image;
    int components = 3;
    sgImageFailure why = sgImageFailure::none;
    switch (format_) {
        case SG_FMT_RGB:
        case SG_FMT_DIB:
        case SG_FMT_TGA:
        case SG_FMT_JPEG:
        case SG_FMT_PNG: image = sgReadImage(format_, path, &components, &why); break;
        case SG_FMT_HANDLE:
            if (const sgImage* held = readImageHandle(path)) image = convertBGRAImage(*held);
            else why = sgImageFailure::missing;
            components = 4;
            break;
        default:
            std::fprintf(stderr, "MERAK: Unsupported texture file type.\n");
            glDisable(GL_TEXTURE_2D);
            entry->failed = true;
            return false;
    }
    size_t need = image ? sgImageByteCount(image->width, image->height, components) : 0;
    if (!image || (components != 3 && components != 4) || !need || image->pixels.size() < need) {
        // Marked, so a missing file is read (and reported) once, not every frame.
        glDisable(GL_TEXTURE_2D);
        opaqueTexture_ = 1;
        entry->failed = true;
        entry->failure = why != sgImageFailure::none ? why : sgImageFailure::corrupt;
        std::fprintf(stderr, "MERAK: Texture file \"%s\" not loaded: %s.\n", path.c_str(),
                     sgImageFailureText(entry->failure));
        return false;
    }
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // rows are packed
    bool rgba = components > 3;
    gluBuild2DMipmaps(GL_TEXTURE_2D, rgba ? GL_RGBA8 : GL_RGB8, image->width, image->height, rgba ? GL_RGBA : GL_RGB,
                      GL_UNSIGNED_BYTE, image->pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    entry->glId = id;
    entry->components = components;
    entry->failure = sgImageFailure::none;
    opaqueTexture_ = components == 3 ? 1 : 0;
    return true;
}

void sgGeoState::convertGL() { convertEntry(texture_); }

void sgGeoState::convertSequence() {
    for (size_t i = 0; i < sequence_.size(); ++i) convertSequenceElement(static_cast<int>(i));
}

void sgGeoState::convertSequenceElement(int i) { convertEntry(getSequenceEntry(i)); }

void sgGeoState::setFadeColors(const sgVec4& ambient, const sgVec4& diffuse, const sgVec4& specular,
                                const sgVec4& emission, const sgVec4& shininess) {
    fade_[0] = ambient, fade_[1] = diffuse, fade_[2] = specular, fade_[3] = emission, fade_[4] = shininess;
    faded_ = true;
}

void sgGeoState::apply(int) {
    glMaterialfv(GL_FRONT, GL_AMBIENT, faded_ ? fade_[0].v : ambient_.v);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, faded_ ? fade_[1].v : diffuse_.v);
    glMaterialfv(GL_FRONT, GL_EMISSION, faded_ ? fade_[3].v : emission_.v);
    glMaterialfv(GL_FRONT, GL_SPECULAR, faded_ ? fade_[2].v : specular_.v);
    glMaterialfv(GL_FRONT, GL_SHININESS, faded_ ? fade_[4].v : shininess_.v);
    sgTextureFileEntry* entry = currentTexture();
    if (entry && entry->glId == 0 && !entry->failed) {
        if (texMode_ == SG_TEX_SINGLE)
            convertGL();
        else
            convertSequence();
    }
    if (!entry || entry->glId == 0) {
        glDisable(GL_TEXTURE_2D);
        return;
    }
    if (!glIsEnabled(GL_TEXTURE_2D)) glEnable(GL_TEXTURE_2D);
    // Bind before the parameters, so they reach this texture.
    glBindTexture(GL_TEXTURE_2D, entry->glId);
    if (minFilter_ != -1) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter_);
    if (magFilter_ != -1) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter_);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, texEnv_ ? texEnv_->getMode() : GL_MODULATE);
}
