#include "assets/ObjModel.h"

#include <cstdio>
#include <string_view>
#include <unordered_map>

#include "assets/ModelFileText.h"
#include "platform/PathParts.h"
#include "platform/PathResolver.h"
#include "sg/sgRuntime.h"

using modeltext::FileLines;
using modeltext::nextWord;
using modeltext::restOfLine;

namespace {

// Statements that take a name read the rest of their line into a 128-byte
// buffer; a longer rest is skipped whole, never re-read in pieces.
constexpr size_t kRestMax = 127;

// The first word of the rest of the line, or false when the rest is too long
// for the name buffer.
bool firstWordOfRest(std::string_view line, size_t pos, std::string& word) {
    std::string_view rest = restOfLine(line, pos);
    if (rest.size() > kRestMax) return false;
    size_t p = 0;
    word = std::string(nextWord(rest, p));
    return true;
}

std::string cutToken(std::string_view t) { return sgCutName(std::string(t)); }

// ---------------------------------------------------------------- corners

enum FaceForm { FORM_V, FORM_VT, FORM_VN, FORM_VTN };

struct Corner {
    long long v = 0, t = 0, n = 0;
    bool hasV = false, hasT = false, hasN = false;
    bool doubleSlash = false;
};

// One integer, optionally signed. Values beyond 32 bits are clamped so that
// they later fail the range check instead of wrapping.
bool parseIndex(const char*& p, const char* e, long long& out) {
    bool neg = false;
    if (p < e && (*p == '-' || *p == '+')) neg = (*p++ == '-');
    if (p >= e || *p < '0' || *p > '9') return false;
    long long v = 0;
    while (p < e && *p >= '0' && *p <= '9') {
        if (v < (1LL << 40)) v = v * 10 + (*p - '0');
        ++p;
    }
    out = neg ? -v : v;
    return true;
}

// The corner parser: v, v/t, v//n, v/t/n (and v/, v/t/ as exporters sometimes
// leave them). The first pass counts corner words only, so its triangle
// counts bound what the second pass stores.
Corner parseCorner(std::string_view w) {
    Corner c;
    const char* p = w.data();
    const char* e = p + w.size();
    c.hasV = parseIndex(p, e, c.v);
    if (!c.hasV) return c;
    if (p < e && *p == '/') {
        ++p;
        if (p < e && *p == '/') {
            c.doubleSlash = true;
        } else {
            c.hasT = parseIndex(p, e, c.t);
        }
        if (p < e && *p == '/') {
            ++p;
            c.hasN = parseIndex(p, e, c.n);
        }
    }
    if (p != e) c.hasV = false;  // trailing garbage: not a corner
    return c;
}

FaceForm formOf(const Corner& c) {
    if (c.doubleSlash) return FORM_VN;
    if (c.hasT && c.hasN) return FORM_VTN;
    if (c.hasT) return FORM_VT;
    return FORM_V;
}

// 1-based index for a file index: negative counts back from the entries read
// so far. 0 when it designates no entry.
GLuint resolveIndex(long long idx, GLuint soFar, GLuint total) {
    long long r = idx < 0 ? static_cast<long long>(soFar) + 1 + idx : idx;
    if (r < 1 || r > static_cast<long long>(total)) return 0;
    return static_cast<GLuint>(r);
}

// Corner words of a face line; a '#' starts a comment.
template <typename F>
void forEachCornerWord(std::string_view line, size_t pos, F&& f) {
    for (;;) {
        std::string_view w = nextWord(line, pos);
        if (w.empty() || w[0] == '#') return;
        f(w);
    }
}

// ---------------------------------------------------------------- MTL

// Any word that begins with 'n' starts a material (`recognised`); true when
// the line also gives its name.
bool isNewMtl(std::string_view line, std::string& name, bool& recognised) {
    size_t p = 0;
    std::string_view tok = nextWord(line, p);
    recognised = !tok.empty() && tok[0] == 'n';
    return recognised && firstWordOfRest(line, p, name);
}

bool readMTL(sgObjModel* model, const std::string& name) {
    std::string filename = pathJoin(pathFolder(model->pathname), name);
    // Libraries written on other systems carry backslashes and DOS names.
    std::string found = findStoredPath(filename);
    FileLines lines;
    if (name.empty() || !lines.open(found.empty() ? filename : found)) {
        std::fprintf(stderr, "_glmReadMTL() failed: can't open material file \"%s\".\n", filename.c_str());
        return false;
    }

    // First pass: count the materials.
    size_t count = 1;
    {
        std::string_view line;
        std::string mname;
        bool recognised;
        while (lines.next(line))
            if (isNewMtl(line, mname, recognised)) ++count;
    }
    model->materials.assign(count, sgObjMaterial());
    model->materials[0].name = "default";

    // Second pass: the values.
    size_t current = 0;
    size_t next = 1;
    lines.rewind();
    std::string_view line;
    std::string mname;
    while (lines.next(line)) {
        bool recognised;
        if (isNewMtl(line, mname, recognised)) {
            if (next < count) {
                current = next++;
                model->materials[current].name = sgCutName(mname);
            }
            continue;
        }
        if (recognised) continue;  // over-long newmtl line: skipped in both passes
        size_t pos = 0;
        std::string_view tok = nextWord(line, pos);
        if (tok.empty()) continue;
        sgObjMaterial& m = model->materials[current];
        if (tok[0] == 'K' && tok.size() >= 2) {
            float* dst = tok[1] == 'a' ? m.ambient : tok[1] == 'd' ? m.diffuse : tok[1] == 's' ? m.specular : nullptr;
            if (dst) modeltext::readFloats(line, pos, dst, 3);
        } else if (tok[0] == 'N') {
            // Every N... word is taken as shininess (so Ni after Ns wins);
            // 0..1000 maps to GL's 0..128.
            float s;
            if (modeltext::readFloats(line, pos, &s, 1) == 1) {
                s = s * 0.001f * 128.0f;
                if (!(s >= 0.0f)) s = 0.0f;
                if (s > 128.0f) s = 128.0f;
                m.shininess = s;
            }
        }
    }
    return true;
}

// ---------------------------------------------------------------- OBJ passes

struct GroupTable {
    sgObjModel* model;
    std::unordered_map<std::string, sgObjGroup*> byName;

    sgObjGroup* findOrAdd(const std::string& name) {
        auto it = byName.find(name);
        if (it != byName.end()) return it->second;
        auto g = std::make_unique<sgObjGroup>();
        g->name = name;
        sgObjGroup* raw = g.get();
        model->groups.push_back(std::move(g));
        byName.emplace(name, raw);
        return raw;
    }
};

// The group name of a "g" line; false for a line too long to take a name from.
bool groupName(std::string_view line, size_t pos, std::string& name) {
    if (!firstWordOfRest(line, pos, name)) return false;
    if (name.empty()) name = "default";
    name = sgCutName(name);
    return true;
}

bool firstPass(sgObjModel* model, FileLines& lines, GroupTable& groups, std::vector<size_t>& groupCounts) {
    // Triangle counts by group, in creation order (as model->groups).
    std::unordered_map<sgObjGroup*, size_t> index;
    groupCounts.clear();
    auto select = [&](sgObjGroup* g) -> size_t {
        auto it = index.find(g);
        if (it == index.end()) {
            it = index.emplace(g, groupCounts.size()).first;
            groupCounts.push_back(0);
        }
        return it->second;
    };
    size_t current = select(groups.findOrAdd("default"));
    std::string_view line;
    std::string name;
    while (lines.next(line)) {
        size_t pos = 0;
        std::string_view tok = nextWord(line, pos);
        if (tok.empty()) continue;
        switch (tok[0]) {
            case 'v':
                if (tok.size() == 1) {
                    ++model->numvertices;
                } else if (tok.size() == 2 && tok[1] == 'n') {
                    ++model->numnormals;
                } else if (tok.size() == 2 && tok[1] == 't') {
                    ++model->numtexcoords;
                } else {
                    std::printf("_glmFirstPass(): Unknown token \"%s\".\n", cutToken(tok).c_str());
                    return false;
                }
                break;
            case 'm':
                if (firstWordOfRest(line, pos, name)) {
                    // Each library replaces the materials; naming the one just
                    // read again changes nothing, so it is not read again.
                    name = sgCutName(name);
                    if (!model->materials.empty() && name == model->mtllibname) break;
                    model->mtllibname = name;
                    if (!readMTL(model, model->mtllibname)) return false;
                }
                break;
            case 'g':
                if (groupName(line, pos, name)) current = select(groups.findOrAdd(name));
                break;
            case 'f': {
                size_t k = 0;
                forEachCornerWord(line, pos, [&](std::string_view) { ++k; });
                if (k >= 3) groupCounts[current] += k - 2;
                break;
            }
            default:
                break;
        }
    }
    return true;
}

void secondPass(sgObjModel* model, FileLines& lines, GroupTable& groups) {
    GLuint nv = 0, nn = 0, nt = 0;
    GLuint material = 0;
    sgObjGroup* group = groups.findOrAdd("default");
    std::unordered_map<std::string, GLuint> materialIndex;
    for (GLuint i = static_cast<GLuint>(model->materials.size()); i-- > 0;)
        materialIndex[model->materials[i].name] = i;  // the first of equal names wins

    struct Resolved {
        GLuint v, t, n;
        bool ok;
    };
    std::vector<Resolved> rc;
    std::string_view line;
    std::string name;
    while (lines.next(line)) {
        size_t pos = 0;
        std::string_view tok = nextWord(line, pos);
        if (tok.empty()) continue;
        switch (tok[0]) {
            case 'v':
                if (tok.size() == 1 && nv < model->numvertices) {
                    ++nv;
                    modeltext::readFloats(line, pos, &model->vertices[3 * nv], 3);
                } else if (tok.size() == 2 && tok[1] == 'n' && nn < model->numnormals) {
                    ++nn;
                    modeltext::readFloats(line, pos, &model->normals[3 * nn], 3);
                } else if (tok.size() == 2 && tok[1] == 't' && nt < model->numtexcoords) {
                    ++nt;
                    modeltext::readFloats(line, pos, &model->texcoords[2 * nt], 2);
                }
                break;
            case 'g':
                if (groupName(line, pos, name)) {
                    group = groups.findOrAdd(name);
                    group->material = material;
                }
                break;
            case 'u':
                if (firstWordOfRest(line, pos, name)) {
                    auto it = materialIndex.find(sgCutName(name));
                    material = it == materialIndex.end() ? 0 : it->second;
                    group->material = material;
                }
                break;
            case 'f': {
                // Resolve every corner once; a corner whose vertex or given
                // index designates nothing drops the triangles that use it.
                // The first corner decides which indices the face takes.
                rc.clear();
                bool wantT = false, wantN = false;
                forEachCornerWord(line, pos, [&](std::string_view w) {
                    Corner c = parseCorner(w);
                    if (rc.empty()) {
                        FaceForm form = formOf(c);
                        wantT = form == FORM_VT || form == FORM_VTN;
                        wantN = form == FORM_VN || form == FORM_VTN;
                    }
                    Resolved r{0, 0, 0, c.hasV};
                    if (r.ok) r.ok = (r.v = resolveIndex(c.v, nv, model->numvertices)) != 0;
                    if (r.ok && wantT && c.hasT) r.ok = (r.t = resolveIndex(c.t, nt, model->numtexcoords)) != 0;
                    if (r.ok && wantN && c.hasN) r.ok = (r.n = resolveIndex(c.n, nn, model->numnormals)) != 0;
                    rc.push_back(r);
                });
                if (rc.size() < 3) break;
                // A fan: (0, 1, 2), then (0, previous third corner, next).
                for (size_t i = 2; i < rc.size(); ++i) {
                    const Resolved* tri[3] = {&rc[0], &rc[i - 1], &rc[i]};
                    if (!tri[0]->ok || !tri[1]->ok || !tri[2]->ok) continue;
                    sgObjTriangle t;
                    for (int k = 0; k < 3; ++k) {
                        t.vindices[k] = tri[k]->v;
                        t.tindices[k] = tri[k]->t;
                        t.nindices[k] = tri[k]->n;
                    }
                    group->triangles.push_back(static_cast<GLuint>(model->triangles.size()));
                    model->triangles.push_back(t);
                }
                break;
            }
            default:
                break;
        }
    }
}

}  // namespace

std::unique_ptr<sgObjModel> glmReadOBJ(const std::string& path) {
    FileLines lines;
    if (!lines.open(path)) {
        std::printf("glmReadOBJ() failed: can't open data file \"%s\".\n", path.c_str());
        return nullptr;
    }
    auto model = std::make_unique<sgObjModel>();
    model->pathname = path;

    GroupTable groups{model.get(), {}};
    std::vector<size_t> groupCounts;
    if (!firstPass(model.get(), lines, groups, groupCounts)) return nullptr;
    if (lines.failed()) {
        std::printf("glmReadOBJ() failed: can't open data file \"%s\".\n", path.c_str());
        return nullptr;
    }

    auto allocate = [](std::vector<GLfloat>& v, size_t count, size_t width) {
        if (count == 0) return;
        modeltext::reserveLarge(v, width * (count + 1));
        v.resize(width * (count + 1), 0.0f);
    };
    allocate(model->vertices, model->numvertices, 3);
    if (model->vertices.empty()) model->vertices.assign(3, 0.0f);
    allocate(model->normals, model->numnormals, 3);
    allocate(model->texcoords, model->numtexcoords, 2);
    size_t total = 0;
    for (size_t i = 0; i < model->groups.size() && i < groupCounts.size(); ++i) {
        modeltext::reserveLarge(model->groups[i]->triangles, groupCounts[i]);
        total += groupCounts[i];
    }
    modeltext::reserveLarge(model->triangles, total);

    lines.rewind();
    secondPass(model.get(), lines, groups);
    return model;
}

void glmRender(const sgObjModel* model, GLuint mode) {
    if (!model) return;
    if ((mode & OBJ_FACET_NORMALS) && model->numfacetnorms == 0) mode &= ~OBJ_FACET_NORMALS;
    if ((mode & OBJ_VERTEX_NORMALS) && model->numnormals == 0) mode &= ~OBJ_VERTEX_NORMALS;
    if ((mode & OBJ_TEXCOORDS) && model->numtexcoords == 0) mode &= ~OBJ_TEXCOORDS;
    if ((mode & (OBJ_COLOUR | OBJ_MATERIALS)) && model->materials.empty()) mode &= ~(OBJ_COLOUR | OBJ_MATERIALS);
    if ((mode & OBJ_FACET_NORMALS) && (mode & OBJ_VERTEX_NORMALS)) mode &= ~OBJ_FACET_NORMALS;
    if ((mode & OBJ_COLOUR) && (mode & OBJ_MATERIALS)) mode &= ~OBJ_COLOUR;

    if (mode & OBJ_COLOUR) glEnable(GL_COLOR_MATERIAL);
    if (mode & OBJ_MATERIALS) glDisable(GL_COLOR_MATERIAL);

    glPushMatrix();
    glTranslatef(model->position[0], model->position[1], model->position[2]);
    glBegin(GL_TRIANGLES);
    for (size_t gi = model->groups.size(); gi-- > 0;) {
        const sgObjGroup& group = *model->groups[gi];
        if (mode & (OBJ_MATERIALS | OBJ_COLOUR)) {
            const sgObjMaterial& m = model->materials[group.material < model->materials.size() ? group.material : 0];
            if (mode & OBJ_MATERIALS) {
                glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, m.ambient);
                glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, m.diffuse);
                glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, m.specular);
                glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, m.shininess);
            }
            if (mode & OBJ_COLOUR) glColor3fv(m.diffuse);
        }
        for (GLuint ti : group.triangles) {
            const sgObjTriangle& t = model->triangles[ti];
            if ((mode & OBJ_FACET_NORMALS) && t.findex && t.findex <= model->numfacetnorms)
                glNormal3fv(&model->facetnorms[3 * t.findex]);
            for (int k = 0; k < 3; ++k) {
                if ((mode & OBJ_VERTEX_NORMALS) && t.nindices[k]) glNormal3fv(&model->normals[3 * t.nindices[k]]);
                if ((mode & OBJ_TEXCOORDS) && t.tindices[k]) glTexCoord2fv(&model->texcoords[2 * t.tindices[k]]);
                glVertex3fv(&model->vertices[3 * t.vindices[k]]);
            }
        }
    }
    glEnd();
    glPopMatrix();
    if (mode & OBJ_COLOUR) glDisable(GL_COLOR_MATERIAL);
}

GLuint glmCompileList(const sgObjModel* model, GLuint mode) {
    GLuint list = glGenLists(1);
    if (!list) return 0;
    glNewList(list, GL_COMPILE);
    glmRender(model, mode);
    glEndList();
    return list;
}

void glmFree(std::unique_ptr<sgObjModel> model) { model.reset(); }
