#include "scene/pnTexturedObject.h"

void pnTexturedObject::setTexture(const char* t) {
    setTextureName(t);
    textureChanged(TextureChange::Texture);
}

void pnTexturedObject::setMode(int m) {
    mode = m;
    textureChanged(TextureChange::Mode);
}

void pnTexturedObject::setTexMode(int m) {
    texMode = m;
    textureChanged(TextureChange::TexMode);
}

void pnTexturedObject::setNumIndex(int n) {
    numIndex = n;
    textureChanged(TextureChange::NumIndex);
}

void pnTexturedObject::setTexMove(float s, float t) {
    if (editTexPlanes(TEX_MOVE, s, t)) textureChanged(TextureChange::Planes);
}

void pnTexturedObject::setTexRotate(float s, float t) {
    if (editTexPlanes(TEX_ROTATE, s, t)) textureChanged(TextureChange::Planes);
}

void pnTexturedObject::setTexScale(float s, float t) {
    if (editTexPlanes(TEX_SCALE, s, t)) textureChanged(TextureChange::Planes);
}

void pnTexturedObject::resetTexPlanes() {
    pnObject::resetTexPlanes();
    textureChanged(TextureChange::Planes);
}
