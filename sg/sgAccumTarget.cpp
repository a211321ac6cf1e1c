#define GL_GLEXT_PROTOTYPES 1
#include "sg/sgAccumTarget.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>
#include <initializer_list>
#include <string>

namespace {
bool g_allowed = true;

// The quad covers the viewport in clip coordinates; each fragment adds the
// texels of the passes at its own pixel.
const char* const kVertexShader =
    "#version 120\n"
    "void main() {\n"
    "    gl_TexCoord[0] = gl_MultiTexCoord0;\n"
    "    gl_Position = gl_Vertex;\n"
    "}\n";
// One program per pass count, the reads written out: a loop over all eight
// units that skips the unused ones still costs the software rasteriser every
// read, since it runs both sides of a branch across a block of pixels.
std::string fragmentShader(int passes) {
    std::string s = "#version 120\nuniform sampler2D pass[" + std::to_string(passes) +
                    "];\nuniform float weight;\nvoid main() {\n    vec4 sum = vec4(0.0);\n";
    for (int i = 0; i < passes; ++i)
        s += "    sum += texture2D(pass[" + std::to_string(i) + "], gl_TexCoord[0].st);\n";
    return s + "    gl_FragColor = sum * weight;\n}\n";
}

GLuint compile(GLenum kind, const char* source) {
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

void clearErrors() {
    for (int i = 0; i < 32 && glGetError() != GL_NO_ERROR; ++i) {
    }
}
}  // namespace

void sgAccumTarget::setAllowed(bool allowed) { g_allowed = allowed; }

sgAccumTarget::~sgAccumTarget() { release(); }

bool sgAccumTarget::available() {
    if (!g_allowed) return false;
    // Framebuffer objects are core from GL 3.0 on; so are shaders and the
    // eight texture units the sum reads.
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0, minor = 0;
    if (!version || std::sscanf(version, "%d.%d", &major, &minor) != 2 || major < 3) return false;
    GLint units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_IMAGE_UNITS, &units);
    return units >= kMaxPasses;
}

void sgAccumTarget::release() {
    if (made_ > 0) {
        glDeleteFramebuffers(made_, fbo_);
        glDeleteTextures(made_, color_);
    }
    if (depth_) glDeleteRenderbuffers(1, &depth_);
    for (Sum& sum : sums_)
        if (sum.program) glDeleteProgram(sum.program);
    for (int i = 0; i < kMaxPasses; ++i) {
        fbo_[i] = color_[i] = 0;
        sums_[i] = Sum();
    }
    depth_ = 0;
    made_ = width_ = height_ = 0;
}

// The names stay valid only in the context that made them: a new context
// (its names unknown, or other objects behind them) makes new targets.
bool sgAccumTarget::stillOurs() const {
    if (made_ == 0) return false;
    for (const Sum& sum : sums_)
        if (sum.program && !glIsProgram(sum.program)) return false;
    for (int i = 0; i < made_; ++i)
        if (!glIsFramebuffer(fbo_[i])) return false;
    GLint attached = 0;
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_[0]);
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME,
                                          &attached);
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previousFbo_));
    return static_cast<unsigned>(attached) == color_[0];
}

bool sgAccumTarget::makeProgram(int passes) {
    Sum& sum = sums_[passes - 1];
    const std::string fragment = fragmentShader(passes);
    GLuint vs = compile(GL_VERTEX_SHADER, kVertexShader);
    GLuint fs = compile(GL_FRAGMENT_SHADER, fragment.c_str());
    if (vs && fs) {
        sum.program = glCreateProgram();
        glAttachShader(sum.program, vs);
        glAttachShader(sum.program, fs);
        glLinkProgram(sum.program);
    }
    if (vs) glDeleteShader(vs);
    if (fs) glDeleteShader(fs);
    GLint linked = 0;
    if (sum.program) glGetProgramiv(sum.program, GL_LINK_STATUS, &linked);
    if (!linked) return false;
    GLint previous = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &previous);
    glUseProgram(sum.program);
    GLint units[kMaxPasses];
    for (int i = 0; i < passes; ++i) units[i] = i;
    glUniform1iv(glGetUniformLocation(sum.program, "pass"), passes, units);
    glUseProgram(static_cast<GLuint>(previous));
    sum.weightLocation = glGetUniformLocation(sum.program, "weight");
    return sum.weightLocation >= 0;
}

bool sgAccumTarget::make(int width, int height, int passes) {
    release();
    clearErrors();
    bool complete = makeProgram(passes);
    // The scene's own texture binding is left as it was.
    GLint boundTexture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
    glGenRenderbuffers(1, &depth_);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    made_ = passes;
    glGenTextures(passes, color_);
    glGenFramebuffers(passes, fbo_);
    for (int i = 0; i < passes && complete; ++i) {
        glBindTexture(GL_TEXTURE_2D, color_[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo_[i]);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, color_[i], 0);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth_);
        complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    }
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(boundTexture));
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previousFbo_));
    if (!complete || glGetError() != GL_NO_ERROR) {
        release();
        return false;
    }
    width_ = width;
    height_ = height;
    return true;
}

bool sgAccumTarget::begin(const int viewport[4], int passes) {
    if (passes < 1 || passes > kMaxPasses || !available()) return false;
    if (viewport[0] < 0 || viewport[1] < 0 || viewport[2] <= 0 || viewport[3] <= 0) return false;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previousFbo_);
    for (int i = 0; i < 4; ++i) viewport_[i] = viewport[i];
    passes_ = passes;
    // The targets cover the framebuffer up to the viewport's far corner, so
    // the scene draws into them with the viewport it has. Fewer passes reuse
    // targets made for more.
    const int width = viewport[0] + viewport[2], height = viewport[1] + viewport[3];
    const bool kept = width == width_ && height == height_ && passes <= made_ && stillOurs();
    if (!kept && !make(width, height, passes > made_ ? passes : made_)) return false;
    if (sums_[passes - 1].program) return true;
    clearErrors();
    if (makeProgram(passes) && glGetError() == GL_NO_ERROR) return true;
    release();
    return false;
}

void sgAccumTarget::beginPass(int i) {
    if (i >= 0 && i < passes_) glBindFramebuffer(GL_FRAMEBUFFER, fbo_[i]);
}

void sgAccumTarget::abandon() { glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previousFbo_)); }

void sgAccumTarget::finish(float weight) {
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previousFbo_));
    GLint previousProgram = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &previousProgram);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glViewport(viewport_[0], viewport_[1], viewport_[2], viewport_[3]);
    for (GLenum cap : {GL_DEPTH_TEST, GL_BLEND, GL_ALPHA_TEST, GL_STENCIL_TEST, GL_SCISSOR_TEST, GL_CULL_FACE,
                       GL_COLOR_LOGIC_OP, GL_DITHER, GL_POLYGON_STIPPLE})
        glDisable(cap);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    const Sum& sum = sums_[passes_ - 1];
    glUseProgram(sum.program);
    glUniform1f(sum.weightLocation, weight);
    for (int i = 0; i < passes_; ++i) {
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(i));
        glBindTexture(GL_TEXTURE_2D, color_[i]);
    }
    // Texel centres fall on pixel centres: each pixel reads its own texels.
    const float s0 = static_cast<float>(viewport_[0]) / static_cast<float>(width_);
    const float t0 = static_cast<float>(viewport_[1]) / static_cast<float>(height_);
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0);
    glVertex2f(-1, -1);
    glTexCoord2f(1, t0);
    glVertex2f(1, -1);
    glTexCoord2f(1, 1);
    glVertex2f(1, 1);
    glTexCoord2f(s0, 1);
    glVertex2f(-1, 1);
    glEnd();
    glUseProgram(static_cast<GLuint>(previousProgram));
    glPopAttrib();
}
