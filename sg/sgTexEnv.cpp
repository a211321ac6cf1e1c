#include "sg/sgTexEnv.h"

#include <GL/gl.h>

#include "sg/sgGeoState.h"

int sgTexEnv::getKey() const { return GL_TEXTURE_ENV; }

void sgTexEnv::writeInto(sgGeoState& state) const { state.setTexEnv(*this); }
