// GL side of the 3DS reader: material textures and the display list.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cctype>
#include <cstdio>

#include "assets/Model3DS.h"
#include "assets/ModelTextureLoaders.h"
#include "assets/loadDIBImageFile.h"
#include "sg/sgImage.h"

namespace {

const char* const kDefaultMaterial = "WG_DEFAULT";

// The reader picks the decoder by the last three characters of the stored
// name, upper-cased.
sgImagePtr loadTextureImage(const sg3DSRenderMaterial& m, int* components) {
    const std::string& n = m.textureName;
    if (n.size() < 3) return nullptr;
    std::string ending;
    for (size_t i = n.size() - 3; i < n.size(); ++i)
        ending += static_cast<char>(std::toupper(static_cast<unsigned char>(n[i])));
    if (ending == "JPG") {
        *components = 3;
        return loadModelJpeg(m.texturePath);
    }
    if (ending == "BMP") {
        *components = 3;
        return loadDIBImageFile(m.texturePath, nullptr);
    }
    if (ending == "TGA") {
        *components = 3;
        sgImagePtr img = loadModelTga(m.texturePath, components);
        if (*components != 3 && *components != 4) return nullptr;
        return img;
    }
    return nullptr;
}

void makeTexture(sg3DSRenderMaterial& m) {
    m.textureTried = true;
    int components = 3;
    sgImagePtr img = loadTextureImage(m, &components);
    if (!img) return;
    size_t bytes = sgImageByteCount(img->width, img->height, components);
    if (bytes == 0 || img->pixels.size() < bytes) return;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(1, &m.texture);
    glBindTexture(GL_TEXTURE_2D, m.texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    if (components == 3)
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, img->width, img->height, GL_RGB, GL_UNSIGNED_BYTE, img->pixels.data());
    else
        gluBuild2DMipmaps(GL_TEXTURE_2D, 4, img->width, img->height, GL_RGBA, GL_UNSIGNED_BYTE, img->pixels.data());
}

}  // namespace

GLuint compile3DSModel(sg3DSModel& model) {
    for (sg3DSRenderMaterial& m : model.materials)
        if (!m.textureName.empty() && !m.textureTried) makeTexture(m);

    // Errors left by earlier code are not ours to report.
    while (glGetError() != GL_NO_ERROR) {
    }
    GLuint list = glGenLists(1);
    if (!list) {
        std::printf("Error compiling display list\n");
        return 0;
    }
    const GLfloat* vt = model.vertices.data();
    glNewList(list, GL_COMPILE);
    for (const sg3DSRenderMaterial& m : model.materials) {
        // The default material takes the colours current when the list is called.
        if (m.name != kDefaultMaterial) {
            glMaterialfv(GL_FRONT, GL_AMBIENT, m.ambient);
            glMaterialfv(GL_FRONT, GL_DIFFUSE, m.diffuse);
            glMaterialfv(GL_FRONT, GL_SPECULAR, m.specular);
            glMaterialf(GL_FRONT, GL_SHININESS, 100.0f);
        }
        bool textured = !m.textureName.empty();
        if (textured) {
            glEnable(GL_TEXTURE_2D);
            glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
            glBindTexture(GL_TEXTURE_2D, m.texture);
        }
        if (!m.indices.empty()) {
            glBegin(GL_TRIANGLES);
            for (uint32_t i : m.indices) {
                const GLfloat* e = vt + size_t(i) * 8;
                glTexCoord2f(e[0], e[1]);
                glNormal3f(e[2], e[3], e[4]);
                glVertex3f(e[5], e[6], e[7]);
            }
            glEnd();
        }
        if (textured) glDisable(GL_TEXTURE_2D);
    }
    glEndList();
    if (glGetError() != GL_NO_ERROR) std::printf("Error compiling display list\n");
    return list;
}

void release3DSTextures(sg3DSModel& model) {
    for (sg3DSRenderMaterial& m : model.materials) {
        if (m.texture) glDeleteTextures(1, &m.texture);
        m.texture = 0;
        m.textureTried = false;
    }
}

GLuint load3DS(const std::string& path) {
    std::unique_ptr<sg3DSModel> model = read3DSModel(path, get3DSOptions());
    if (!model) return 0;
    return compile3DSModel(*model);
}
