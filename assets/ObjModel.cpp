#include "assets/ObjModel.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <map>
#include <mutex>
#include <set>
#include <string_view>
#include <system_error>
#include <thread>
#include <unordered_map>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Material libraries read for one model at most.
constexpr int kMaxLibraryReads = 16;

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

// The blanks between words (as modeltext::isBlank), looked up.
const struct BlankTable {
    bool at[256] = {};
    BlankTable() {
        for (int c = 0; c < 256; ++c) at[c] = modeltext::isBlank(static_cast<char>(c));
    }
} kBlank;
inline bool blank(char c) { return kBlank.at[static_cast<unsigned char>(c)]; }

enum FaceForm { FORM_V, FORM_VT, FORM_VN, FORM_VTN };

struct Corner {
    long long v = 0, t = 0, n = 0;
    bool hasV = false, hasT = false, hasN = false;
    bool doubleSlash = false;
};

// One integer, optionally signed. Values beyond 32 bits are clamped so that
// they later fail the range check instead of wrapping.
inline bool parseIndex(const char*& at, const char* e, long long& out) {
    const char* p = at;
    bool neg = false;
    if (p < e && (*p == '-' || *p == '+')) neg = (*p++ == '-');
    at = p;
    if (p >= e || static_cast<unsigned>(*p - '0') > 9) return false;
    long long v = 0;
    for (unsigned d; p < e && (d = static_cast<unsigned>(*p - '0')) <= 9; ++p)
        if (v < (1LL << 40)) v = v * 10 + d;
    at = p;
    out = neg ? -v : v;
    return true;
}

// The corner parser: v, v/t, v//n, v/t/n (and v/, v/t/ as exporters sometimes
// leave them), for the word at `at` on a line ending at `e`; `at` moves to
// the end of the word. The first pass counts corner words only, so its
// triangle counts bound what the second pass stores.
inline Corner parseCorner(const char*& at, const char* e) {
    Corner c;
    const char* p = at;
    c.hasV = parseIndex(p, e, c.v);
    if (c.hasV && p < e && *p == '/') {
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
    if (p < e && !blank(*p)) {
        c.hasV = false;  // trailing garbage: not a corner
        while (p < e && !blank(*p)) ++p;
    }
    at = p;
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

// ---------------------------------------------------------------- MTL

// Any word that begins with 'n' starts a material (`recognised`); true when
// the line also gives its name.
bool isNewMtl(std::string_view line, std::string& name, bool& recognised) {
    size_t p = 0;
    std::string_view tok = nextWord(line, p);
    recognised = !tok.empty() && tok[0] == 'n';
    return recognised && firstWordOfRest(line, p, name);
}

// False, after printing why once per library name, when the library cannot
// be read.
bool readMTL(sgObjModel* model, const std::string& name, std::set<std::string>& missing) {
    std::string filename = pathJoin(pathFolder(model->pathname), name);
    // Libraries written on other systems carry backslashes and DOS names.
    std::string found = findStoredPath(filename);
    FileLines lines;
    if (name.empty() || !lines.open(found.empty() ? filename : found)) {
        std::fprintf(stderr, "_glmReadMTL() failed: can't open material file \"%s\".\n", filename.c_str());
        missing.insert(name);
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
        } else if (tok == "Ns") {
            // The specular exponent; 0..1000 maps to GL's 0..128. The other N
            // words (Ni, the optical density) are not shininess.
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

// ---------------------------------------------------------------- groups

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

// ---------------------------------------------------------------- OBJ text

// The text is taken in chunks of whole lines: chunk k holds the lines that
// start in bytes [k * size, (k + 1) * size). A first scan of the chunks, side
// by side, counts each chunk's vertex lines and triangles and keeps the
// statements whose meaning depends on what came before them: mtllib, g,
// usemtl, and an unknown 'v' word, which fails the read. Those are then taken
// one after another in file order, as a reader walking the file would, which
// gives every chunk the counts and the group it starts with. A second scan,
// side by side again, converts each chunk's numbers straight into the model.
// The model is the same however the text is split. Each thread reads its
// chunk into a buffer of its own, so the file is never held whole.

enum StatementKind : char { ST_MTLLIB, ST_GROUP, ST_USEMTL, ST_UNKNOWN_V };

struct Statement {
    std::string line;
    size_t pos;  // just past the statement's word
    StatementKind kind;
    size_t trianglesBefore;  // the chunk's triangles counted before the statement
};

struct Chunk {
    // File offsets of the chunk's lines, ends included; begin == end: none.
    uint64_t begin = 0, end = 0;
    // First scan.
    GLuint vertices = 0, normals = 0, texcoords = 0;
    size_t triangles = 0;  // at most: corners that resolve to nothing drop some
    std::vector<Statement> statements;
    // Taken in file order.
    GLuint firstVertex = 0, firstNormal = 0, firstTexcoord = 0;
    size_t firstTriangle = 0;
    sgObjGroup* group = nullptr;          // the group at the chunk's start
    std::vector<sgObjGroup*> groupAfter;  // the group after each "g" and "usemtl" statement
    // Second scan: the triangles kept, in runs of one group.
    struct Run {
        sgObjGroup* group;
        size_t first, count;  // within the chunk
    };
    size_t stored = 0;
    std::vector<Run> runs;
};

// One thread's place for the text of the chunk it works on.
class ChunkText {
public:
    ChunkText(char* fixed, size_t capacity) : fixed_(fixed), capacity_(capacity) {}
    char* reserve(size_t bytes) {
        if (bytes <= capacity_) return fixed_ ? fixed_ : grown_.get();
        // A line longer than the buffer: the buffer grows to hold it.
        std::unique_ptr<char[]> bigger(new char[bytes]);
        grown_ = std::move(bigger);
        fixed_ = nullptr;
        capacity_ = bytes;
        return grown_.get();
    }

private:
    char* fixed_;
    size_t capacity_;
    std::unique_ptr<char[]> grown_;
};

// pread of exactly `n` bytes; false on an error or when the file ends first
// (it was cut short while being read).
bool readAt(int fd, uint64_t at, char* to, size_t n) {
    while (n > 0) {
        const ssize_t got = ::pread(fd, to, n, static_cast<off_t>(at));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        to += got;
        at += static_cast<uint64_t>(got);
        n -= static_cast<size_t>(got);
    }
    return true;
}

// The text of nominal chunk k: finds where its lines begin and end and reads
// them. Returns the text (text + (end - begin) bytes), or null on a read error.
const char* loadChunk(int fd, uint64_t fileSize, uint64_t nominal, size_t k, Chunk& c, ChunkText& buffer) {
    const uint64_t from = k * nominal;
    const uint64_t to = std::min<uint64_t>(fileSize, from + nominal);
    // The byte before the chunk says whether a line starts at its first byte.
    const uint64_t readFrom = from == 0 ? 0 : from - 1;
    size_t have = static_cast<size_t>(to - readFrom);
    char* text = buffer.reserve(have);
    if (!readAt(fd, readFrom, text, have)) return nullptr;
    size_t first = 0;
    if (from > 0) {
        const char* nl = static_cast<const char*>(std::memchr(text, '\n', have));
        if (!nl || static_cast<size_t>(nl - text) + 1 == have) {
            c.begin = c.end = to;  // no line starts here
            return text;
        }
        first = static_cast<size_t>(nl - text) + 1;
    }
    // The last line runs on to its end, however far that is.
    if (to < fileSize && text[have - 1] != '\n') {
        size_t step = std::max<size_t>(nominal, 4096);
        for (;;) {
            const size_t more = static_cast<size_t>(std::min<uint64_t>(step, fileSize - (readFrom + have)));
            if (more == 0) break;
            std::unique_ptr<char[]> keep(new char[have]);
            std::memcpy(keep.get(), text, have);
            text = buffer.reserve(have + more);
            std::memcpy(text, keep.get(), have);
            if (!readAt(fd, readFrom + have, text + have, more)) return nullptr;
            const char* nl = static_cast<const char*>(std::memchr(text + have, '\n', more));
            if (nl) {
                have = static_cast<size_t>(nl - text) + 1;
                break;
            }
            have += more;
            step *= 2;
        }
    }
    c.begin = readFrom + first;
    c.end = readFrom + have;
    return text + first;
}

// Calls f(line, wordBegin, wordEnd) for each line of [p, end) that holds a
// word, the line without its end ("\n" or "\r\n").
template <typename F>
void forEachLine(const char* p, const char* end, F&& f) {
    while (p < end) {
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        const char* e = nl ? nl : end;
        const char* next = nl ? nl + 1 : end;
        if (e > p && e[-1] == '\r') --e;
        const char* w = p;
        while (w < e && blank(*w)) ++w;
        if (w < e) {
            const char* we = w;
            while (we < e && !blank(*we)) ++we;
            f(p, e, w, we);
        }
        p = next;
    }
}

void scanChunk(const char* text, Chunk& c) {
    bool stop = false;
    forEachLine(text, text + (c.end - c.begin), [&](const char* line, const char* e, const char* w, const char* we) {
        if (stop) return;
        auto keep = [&](StatementKind kind) {
            c.statements.push_back(
                {std::string(line, static_cast<size_t>(e - line)), static_cast<size_t>(we - line), kind, c.triangles});
        };
        switch (*w) {
            case 'v':
                if (we - w == 1) {
                    ++c.vertices;
                } else if (we - w == 2 && w[1] == 'n') {
                    ++c.normals;
                } else if (we - w == 2 && w[1] == 't') {
                    ++c.texcoords;
                } else {
                    keep(ST_UNKNOWN_V);  // the read fails here: nothing after it counts
                    stop = true;
                }
                break;
            case 'm':
                keep(ST_MTLLIB);
                break;
            case 'g':
                keep(ST_GROUP);
                break;
            case 'u':
                keep(ST_USEMTL);
                break;
            case 'f': {
                size_t k = 0;
                for (const char* q = we;;) {
                    while (q < e && blank(*q)) ++q;
                    if (q == e || *q == '#') break;
                    ++k;
                    while (q < e && !blank(*q)) ++q;
                }
                if (k >= 3) c.triangles += k - 2;
                break;
            }
            default:
                break;
        }
    });
}

// The statements as the first reading takes them: material libraries, group
// creation, and the failure at an unknown 'v' word.
bool takeDefinitions(sgObjModel* model, std::vector<Chunk>& chunks, GroupTable& groups) {
    // Libraries that failed, so that naming one again is not reported again.
    std::set<std::string> missingLibraries;
    int libraryReads = 0;
    std::string name;
    groups.findOrAdd("default");
    for (Chunk& c : chunks)
        for (const Statement& st : c.statements) {
            switch (st.kind) {
                case ST_UNKNOWN_V: {
                    size_t p = 0;
                    std::printf("_glmFirstPass(): Unknown token \"%s\".\n", cutToken(nextWord(st.line, p)).c_str());
                    return false;
                }
                case ST_MTLLIB:
                    if (firstWordOfRest(st.line, st.pos, name)) {
                        // Each library replaces the materials; naming the one just
                        // read again changes nothing, so it is not read again.
                        name = sgCutName(name);
                        if (!model->materials.empty() && name == model->mtllibname) break;
                        model->mtllibname = name;
                        // A hostile file could name thousands of libraries, each a
                        // search of the folder: only the first few are tried.
                        const bool tried = missingLibraries.count(name) || ++libraryReads > kMaxLibraryReads;
                        if (tried || !readMTL(model, name, missingLibraries)) {
                            // The geometry is still worth showing: every group
                            // takes the default material.
                            model->materials.assign(1, sgObjMaterial());
                            model->materials[0].name = "default";
                        }
                    }
                    break;
                case ST_GROUP:
                    if (groupName(st.line, st.pos, name)) groups.findOrAdd(name);
                    break;
                case ST_USEMTL:
                    break;
            }
        }
    return true;
}

// The group records the faces go to. A group's faces drawn in more than one
// material are split into one record per material (named as the group), so a
// "usemtl" between the faces of one group changes only the faces after it.
class GroupSelection {
public:
    GroupSelection(sgObjModel* model, GroupTable& groups) : model_(model), groups_(groups) {}

    // The record for the group's faces in the material: the group's own while
    // it has no faces or has them in that material, else one of its own.
    sgObjGroup* select(const std::string& name, GLuint material) {
        sgObjGroup* named = groups_.findOrAdd(name);
        if (named->material == material) return named;
        if (!withFaces_.count(named)) {
            named->material = material;
            return named;
        }
        sgObjGroup*& split = splits_[{named, material}];
        if (!split) {
            auto g = std::make_unique<sgObjGroup>();
            g->name = name;
            g->material = material;
            split = g.get();
            model_->groups.push_back(std::move(g));
        }
        return split;
    }
    void tookFaces(sgObjGroup* g) { withFaces_.insert(g); }

private:
    sgObjModel* model_;
    GroupTable& groups_;
    std::set<sgObjGroup*> withFaces_;
    std::map<std::pair<sgObjGroup*, GLuint>, sgObjGroup*> splits_;
};

// The statements as the second reading takes them: group and material
// selection. Gives each chunk the counts and the group it starts with.
void takeSelections(sgObjModel* model, std::vector<Chunk>& chunks, GroupTable& groups) {
    GLuint nv = 0, nn = 0, nt = 0;
    size_t triangles = 0;
    GLuint material = 0;
    std::string current = "default";
    GroupSelection selection(model, groups);
    sgObjGroup* group = selection.select(current, material);
    std::unordered_map<std::string, GLuint> materialIndex;
    std::set<std::string> unknown;
    for (GLuint i = static_cast<GLuint>(model->materials.size()); i-- > 0;)
        materialIndex[model->materials[i].name] = i;  // the first of equal names wins
    std::string name;
    for (Chunk& c : chunks) {
        c.firstVertex = nv;
        c.firstNormal = nn;
        c.firstTexcoord = nt;
        c.firstTriangle = triangles;
        c.group = group;
        size_t counted = 0;  // the chunk's triangles given to a group so far
        auto facesUpTo = [&](size_t upTo) {
            if (upTo > counted) selection.tookFaces(group);
            counted = upTo;
        };
        for (const Statement& st : c.statements) {
            if (st.kind == ST_GROUP) {
                facesUpTo(st.trianglesBefore);
                if (groupName(st.line, st.pos, name)) {
                    current = name;
                    group = selection.select(current, material);
                }
                c.groupAfter.push_back(group);
            } else if (st.kind == ST_USEMTL) {
                facesUpTo(st.trianglesBefore);
                if (firstWordOfRest(st.line, st.pos, name)) {
                    name = sgCutName(name);
                    auto it = materialIndex.find(name);
                    material = it == materialIndex.end() ? 0 : it->second;
                    group = selection.select(current, material);
                    // A name the library lacks draws in the default material;
                    // said once per name. Without a library nothing was promised.
                    if (it == materialIndex.end() && model->materials.size() > 1 && unknown.insert(name).second)
                        std::fprintf(stderr,
                                     "_glmReadOBJ(): material \"%s\" not found in \"%s\"; the default is used.\n",
                                     name.c_str(), model->mtllibname.c_str());
                }
                c.groupAfter.push_back(group);
            }
        }
        facesUpTo(c.triangles);
        nv += c.vertices;
        nn += c.normals;
        nt += c.texcoords;
        triangles += c.triangles;
    }
}

// Up to n floats of the words from p on, as modeltext::readFloats reads them.
inline void readFloats(const char* p, const char* e, float* out, int n) {
    for (int i = 0; i < n; ++i) {
        while (p < e && blank(*p)) ++p;
        if (p == e) return;
        const char* w = p;
        while (p < e && !blank(*p)) ++p;
        float v;
        if (!modeltext::parseFloat(std::string_view(w, static_cast<size_t>(p - w)), v)) return;
        out[i] = v;
    }
}

void convertChunk(sgObjModel* model, const char* text, Chunk& c) {
    GLuint nv = c.firstVertex, nn = c.firstNormal, nt = c.firstTexcoord;
    sgObjGroup* group = c.group;
    size_t groupStatements = 0;
    sgObjTriangle* out = model->triangles.data() + c.firstTriangle;
    struct Resolved {
        GLuint v, t, n;
        bool ok;
    };
    std::vector<Resolved> rc;
    forEachLine(text, text + (c.end - c.begin), [&](const char*, const char* e, const char* w, const char* we) {
        switch (*w) {
            case 'v':
                if (we - w == 1) {
                    ++nv;
                    readFloats(we, e, &model->vertices[3 * size_t(nv)], 3);
                } else if (w[1] == 'n') {
                    ++nn;
                    readFloats(we, e, &model->normals[3 * size_t(nn)], 3);
                } else {
                    ++nt;
                    readFloats(we, e, &model->texcoords[2 * size_t(nt)], 2);
                }
                break;
            case 'g':
            case 'u':
                group = c.groupAfter[groupStatements++];
                break;
            case 'f': {
                // Resolve every corner once; a corner whose vertex or given
                // index designates nothing drops the triangles that use it.
                // The first corner decides which indices the face takes.
                rc.clear();
                bool wantT = false, wantN = false;
                for (const char* q = we;;) {
                    while (q < e && blank(*q)) ++q;
                    if (q == e || *q == '#') break;
                    const Corner corner = parseCorner(q, e);
                    if (rc.empty()) {
                        const FaceForm form = formOf(corner);
                        wantT = form == FORM_VT || form == FORM_VTN;
                        wantN = form == FORM_VN || form == FORM_VTN;
                    }
                    Resolved r{0, 0, 0, corner.hasV};
                    if (r.ok) r.ok = (r.v = resolveIndex(corner.v, nv, model->numvertices)) != 0;
                    if (r.ok && wantT && corner.hasT)
                        r.ok = (r.t = resolveIndex(corner.t, nt, model->numtexcoords)) != 0;
                    if (r.ok && wantN && corner.hasN) r.ok = (r.n = resolveIndex(corner.n, nn, model->numnormals)) != 0;
                    rc.push_back(r);
                }
                // A fan: (0, 1, 2), then (0, previous third corner, next).
                for (size_t i = 2; i < rc.size(); ++i) {
                    const Resolved* tri[3] = {&rc[0], &rc[i - 1], &rc[i]};
                    if (!tri[0]->ok || !tri[1]->ok || !tri[2]->ok) continue;
                    sgObjTriangle& t = out[c.stored];
                    for (int k = 0; k < 3; ++k) {
                        t.vindices[k] = tri[k]->v;
                        t.tindices[k] = tri[k]->t;
                        t.nindices[k] = tri[k]->n;
                    }
                    t.findex = 0;
                    if (!c.runs.empty() && c.runs.back().group == group)
                        ++c.runs.back().count;
                    else
                        c.runs.push_back({group, c.stored, 1});
                    ++c.stored;
                }
                break;
            }
            default:
                break;
        }
    });
}

// Runs work(i, thread) for i in 0 .. n - 1 on up to `threads` threads
// (thread 0 being this one); an exception thrown by one is thrown again here
// once all have stopped.
template <typename F>
void forEachIndex(size_t n, unsigned threads, F&& work) {
    std::atomic<size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto run = [&](unsigned thread) {
        try {
            for (size_t i; (i = next.fetch_add(1)) < n;) work(i, thread);
        } catch (...) {
            std::lock_guard<std::mutex> hold(failureLock);
            if (!failure) failure = std::current_exception();
            next = n;
        }
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads && t < n; ++t) {
        try {
            pool.emplace_back(run, t);
        } catch (const std::system_error&) {
            break;  // no more threads to be had: the ones running share the work
        }
    }
    run(0);
    for (std::thread& t : pool) t.join();
    if (failure) std::rethrow_exception(failure);
}

// Normals for the corners the file gives none: a model drawn without them would
// take whatever normal GL holds from what was drawn before. At each vertex the
// triangles within the crease angle of a first one share one normal, the sum of
// their facet normals weighted by their angle at the vertex; the others are
// taken in the same way, so a sharp edge stays sharp and a curve smooth.
constexpr double kCreaseDegrees = 45.0;

void makeMissingNormals(sgObjModel* model) {
    const size_t count = model->triangles.size();
    std::vector<uint32_t> needing;  // triangles with a corner to fill
    for (size_t t = 0; t < count; ++t) {
        const sgObjTriangle& tri = model->triangles[t];
        if (!tri.nindices[0] || !tri.nindices[1] || !tri.nindices[2]) needing.push_back(static_cast<uint32_t>(t));
    }
    if (needing.empty()) return;

    const GLfloat* vt = model->vertices.data();
    auto point = [&](GLuint v) { return vt + 3 * size_t(v); };
    // Facet normals (unit, or zero for a triangle without area) and corner angles.
    std::vector<double> facet(needing.size() * 3), angle(needing.size() * 3);
    for (size_t i = 0; i < needing.size(); ++i) {
        const sgObjTriangle& tri = model->triangles[needing[i]];
        const GLfloat* p[3] = {point(tri.vindices[0]), point(tri.vindices[1]), point(tri.vindices[2])};
        double e1[3], e2[3];
        for (int k = 0; k < 3; ++k) e1[k] = double(p[1][k]) - p[0][k], e2[k] = double(p[2][k]) - p[0][k];
        double n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
        const double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        for (int k = 0; k < 3; ++k) facet[3 * i + k] = len > 0.0 && std::isfinite(len) ? n[k] / len : 0.0;
        for (int c = 0; c < 3; ++c) {
            const GLfloat* a = p[c];
            const GLfloat* b = p[(c + 1) % 3];
            const GLfloat* d = p[(c + 2) % 3];
            double u[3], w[3];
            for (int k = 0; k < 3; ++k) u[k] = double(b[k]) - a[k], w[k] = double(d[k]) - a[k];
            const double lu = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
            const double lw = std::sqrt(w[0] * w[0] + w[1] * w[1] + w[2] * w[2]);
            double cosine = lu > 0.0 && lw > 0.0 ? (u[0] * w[0] + u[1] * w[1] + u[2] * w[2]) / (lu * lw) : 1.0;
            if (!std::isfinite(cosine)) cosine = 1.0;
            angle[3 * i + c] = std::acos(std::clamp(cosine, -1.0, 1.0));
        }
    }

    // The corners to fill, by vertex: (triangle slot in `needing`, corner).
    std::vector<uint32_t> start(size_t(model->numvertices) + 2, 0);
    for (uint32_t tri : needing)
        for (int c = 0; c < 3; ++c)
            if (!model->triangles[tri].nindices[c]) ++start[model->triangles[tri].vindices[c] + 1];
    for (size_t v = 1; v < start.size(); ++v) start[v] += start[v - 1];
    std::vector<uint64_t> corners(start.back());
    std::vector<uint32_t> fill(start.begin(), start.end() - 1);
    for (size_t i = 0; i < needing.size(); ++i)
        for (int c = 0; c < 3; ++c) {
            const sgObjTriangle& tri = model->triangles[needing[i]];
            if (!tri.nindices[c]) corners[fill[tri.vindices[c]]++] = uint64_t(i) * 3 + uint64_t(c);
        }

    const double threshold = std::cos(kCreaseDegrees * 3.14159265358979323846 / 180.0);
    std::vector<GLfloat>& normals = model->normals;
    if (normals.empty()) normals.assign(3, 0.0f);  // the spare entry 0
    std::vector<uint64_t> left, later;
    for (size_t v = 0; v + 1 < start.size(); ++v) {
        left.assign(corners.begin() + start[v], corners.begin() + start[v + 1]);
        while (!left.empty()) {
            // The first triangle with an area leads; triangles without one
            // join whichever normal is made first (they draw nothing).
            const double* ref = nullptr;
            for (uint64_t c : left) {
                const double* f = &facet[3 * (c / 3)];
                if (f[0] != 0.0 || f[1] != 0.0 || f[2] != 0.0) {
                    ref = f;
                    break;
                }
            }
            double sum[3] = {0, 0, 0};
            later.clear();
            const GLuint index = static_cast<GLuint>(normals.size() / 3);
            for (size_t k = 0; k < left.size(); ++k) {
                const double* f = &facet[3 * (left[k] / 3)];
                const bool flat = f[0] == 0.0 && f[1] == 0.0 && f[2] == 0.0;
                if (!flat && f != ref && f[0] * ref[0] + f[1] * ref[1] + f[2] * ref[2] <= threshold) {
                    later.push_back(left[k]);
                    continue;
                }
                for (int j = 0; j < 3; ++j) sum[j] += angle[left[k]] * f[j];
                model->triangles[needing[left[k] / 3]].nindices[left[k] % 3] = index;
            }
            const double len = std::sqrt(sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]);
            for (int j = 0; j < 3; ++j) {
                const double n = len > 0.0 && std::isfinite(len) ? sum[j] / len : (j == 2 ? 1.0 : 0.0);
                normals.push_back(static_cast<GLfloat>(n));
            }
            left.swap(later);
        }
    }
    model->numnormals = static_cast<GLuint>(normals.size() / 3 - 1);
}

// Chunk size when none is asked for: big enough that reading one is cheap
// against converting it, small enough that the threads share the work well.
constexpr size_t kChunkBytes = 256 * 1024;

class OpenFile {
public:
    explicit OpenFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~OpenFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    // The size of a regular file; false for anything else.
    bool regular(uint64_t& size) const {
        struct stat st;
        if (fd_ < 0 || fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) return false;
        size = static_cast<uint64_t>(st.st_size);
        return true;
    }
    int fd() const { return fd_; }

private:
    int fd_;
};

}  // namespace

std::unique_ptr<sgObjModel> glmReadOBJ(const std::string& path) { return glmReadOBJ(path, sgObjReadSplit()); }

std::unique_ptr<sgObjModel> glmReadOBJ(const std::string& path, const sgObjReadSplit& split) {
    OpenFile file(path);
    uint64_t size = 0;
    auto cannotRead = [&] {
        std::printf("glmReadOBJ() failed: can't open data file \"%s\".\n", path.c_str());
        return nullptr;
    };
    if (!file.regular(size)) return cannotRead();
    const size_t nominal = split.chunkBytes ? split.chunkBytes : kChunkBytes;
    const size_t count = size == 0 ? 0 : static_cast<size_t>((size - 1) / nominal + 1);
    unsigned threads = split.threads ? split.threads : std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
    if (threads > count) threads = static_cast<unsigned>(std::max<size_t>(count, 1));

    // One buffer for all threads; a chunk with a longer line gets its own.
    const size_t slice = static_cast<size_t>(std::min<uint64_t>(nominal, size)) + 1;
    std::unique_ptr<char[]> buffers(new char[slice * threads]);
    std::vector<ChunkText> texts;
    for (unsigned t = 0; t < threads; ++t) texts.emplace_back(buffers.get() + slice * t, slice);

    std::vector<Chunk> chunks(count);
    std::atomic<bool> readFailed{false};
    forEachIndex(count, threads, [&](size_t k, unsigned t) {
        const char* text = loadChunk(file.fd(), size, nominal, k, chunks[k], texts[t]);
        if (text)
            scanChunk(text, chunks[k]);
        else
            readFailed = true;
    });
    if (readFailed) return cannotRead();

    auto model = std::make_unique<sgObjModel>();
    model->pathname = path;
    GroupTable groups{model.get(), {}};
    if (!takeDefinitions(model.get(), chunks, groups)) return nullptr;
    size_t upTo = 0;
    for (const Chunk& c : chunks) {
        model->numvertices += c.vertices;
        model->numnormals += c.normals;
        model->numtexcoords += c.texcoords;
        upTo += c.triangles;
    }

    auto allocate = [](std::vector<GLfloat>& v, size_t n, size_t width) {
        if (n == 0) return;
        modeltext::reserveLarge(v, width * (n + 1));
        v.resize(width * (n + 1), 0.0f);
    };
    allocate(model->vertices, model->numvertices, 3);
    if (model->vertices.empty()) model->vertices.assign(3, 0.0f);
    allocate(model->normals, model->numnormals, 3);
    allocate(model->texcoords, model->numtexcoords, 2);
    modeltext::reserveLarge(model->triangles, upTo);
    model->triangles.resize(upTo);

    takeSelections(model.get(), chunks, groups);
    forEachIndex(count, threads, [&](size_t k, unsigned t) {
        Chunk& c = chunks[k];
        if (c.begin == c.end) return;
        const size_t bytes = static_cast<size_t>(c.end - c.begin);
        char* text = texts[t].reserve(bytes);
        if (readAt(file.fd(), c.begin, text, bytes))
            convertChunk(model.get(), text, c);
        else
            readFailed = true;
    });
    if (readFailed) return cannotRead();

    // Close the gaps that dropped triangles left, then list each group's.
    sgObjTriangle* all = model->triangles.data();
    size_t kept = 0;
    std::unordered_map<sgObjGroup*, size_t> perGroup;
    for (Chunk& c : chunks) {
        if (c.firstTriangle != kept) std::copy(all + c.firstTriangle, all + c.firstTriangle + c.stored, all + kept);
        c.firstTriangle = kept;
        kept += c.stored;
        for (const Chunk::Run& r : c.runs) perGroup[r.group] += r.count;
    }
    model->triangles.resize(kept);
    for (const auto& g : perGroup) {
        modeltext::reserveLarge(g.first->triangles, g.second);
        g.first->triangles.resize(g.second);
    }
    perGroup.clear();  // now the count listed so far
    for (const Chunk& c : chunks)
        for (const Chunk::Run& r : c.runs) {
            GLuint* to = r.group->triangles.data() + perGroup[r.group];
            const GLuint first = static_cast<GLuint>(c.firstTriangle + r.first);
            for (size_t i = 0; i < r.count; ++i) to[i] = first + static_cast<GLuint>(i);
            perGroup[r.group] += r.count;
        }
    makeMissingNormals(model.get());
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
