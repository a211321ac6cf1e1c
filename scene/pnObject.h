// Base of every object a scene shows: text, panels, models, counters,
// generated meshes, the background and the chart kinds. It holds what they
// share: the name, file and texture names, the transform with one set flag
// per field, the material name, the draw order, the highlight, texture
// mapping, and the scene-graph nodes once the object is built.
//
// Node chain of a built object:
//   switchNode -> transNode -> pivotNode -> geode -> geoSet (+ kind's sets)
// transNode carries the main translation, rotation and scale; pivotNode the
// pivot rotation, the inner scale and, with a centre, position - centre.
//
// The property pages, the scene reader, playback and the charts drive every
// kind through the virtual operations below without knowing which kind it
// is; a kind overrides what it supports and the base does nothing for the
// rest. A kind that overrides one form of an overloaded setter should bring
// the others back into scope with a using-declaration.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "scene/pnObjectKind.h"
#include "sg/sgVec.h"

class pnScene;
class pnChartDataPt;
class pnMaterial;
class pnStringProperty;
class sgNode;
class sgSwitch;
class sgDCS;
class sgGeode;
class sgGeoState;
class sgGeoSet;
class sgTexGen;
class sgTexture;
class sgTexEnv;

class pnObject {
public:
    // Set flags, in file order.
    enum {
        FILE_FLAG = 0,
        TEXTURE_FLAG,
        POSITION_FLAG,
        ROTANGLE_FLAG,
        ROTAXIS_FLAG,
        PIVOTANGLE_FLAG,
        PIVOTAXIS_FLAG,
        SCALE_FLAG,
        SCALEORIGIN_FLAG,
        CENTER_FLAG,
        MATERIAL_FLAG,
        NUM_FLAGS
    };

    // Texture-coordinate modes (`mode`): 0 none, 4 sphere map; 2, 3 and any
    // other value generate s and t from the two planes (see makeTexGen).
    enum { TEXCOORD_NONE = 0, TEXCOORD_SPHERE = 4 };

    // Texture-mode values (`texMode`), as the geometry state takes them.
    enum { TEXMODE_SINGLE = 0, TEXMODE_SEQUENCE = 1, TEXMODE_NONE = 2 };

    pnObject();
    pnObject(const pnObject&) = delete;
    pnObject& operator=(const pnObject&) = delete;

    // ---- The table of virtual operations, in table order. ----

    // 1. Frees the names; deletes the object's nodes when they still exist.
    virtual ~pnObject();
    // 2. Takes other's settings (see pnObject.cpp). 1, or 0 for null.
    virtual int copy(const pnObject* other);
    // 3. Renames; a built object renames its switch node as well.
    virtual void setName(const char* name);
    // 4. Frame of the texture sequence (negative: follow the global frame).
    virtual void setTexFrame(int frame);
    // 5. Model or part file; no effect in the base.
    virtual void setFileName(const char* file);
    // 6. No effect in the base; kinds store the name with setTextureName and
    // rebuild their texturing.
    virtual void setTexture(const char* texture);
    // 7-11.
    virtual void setPosition(const sgVec3& v);
    virtual void setPosition(float x, float y, float z);
    virtual void setPositionX(float x);
    virtual void setPositionY(float y);
    virtual void setPositionZ(float z);
    // 12-16. An axis of three zeros is refused (nothing changes).
    virtual void setRotAxis(const sgVec3& v);
    virtual void setRotAxis(float x, float y, float z);
    virtual void setRotAxisX(float x);
    virtual void setRotAxisY(float y);
    virtual void setRotAxisZ(float z);
    // 17. Degrees.
    virtual void setRotAngle(float angle);
    // 18-19. An axis of three zeros is refused.
    virtual void setPivotAxis(const sgVec3& v);
    virtual void setPivotAxis(float x, float y, float z);
    // 20. Degrees.
    virtual void setPivotAngle(float angle);
    // 21-26.
    virtual void setScale(float x, float y, float z);
    virtual void setScale(const sgVec3& v);
    virtual void setScale(float uniform);
    virtual void setScaleX(float x);
    virtual void setScaleY(float y);
    virtual void setScaleZ(float z);
    // 27-31. The centre of the main rotation and scale; sets the centre flag.
    virtual void setCenter(float x, float y, float z);
    virtual void setCenter(const sgVec3& v);
    virtual void setCenterX(float x);
    virtual void setCenterY(float y);
    virtual void setCenterZ(float z);
    // 32. Stores the name; a built object takes the scene's material of that
    // name, or the default material when the scene has none.
    virtual void setMaterial(const char* name);
    // 33. Draw order; stored negated and used as polygon-offset units.
    virtual void setForward(int forward);
    // 34. 1 draws an unlit outline pass over the geometry.
    virtual void setHighlight(int highlight);
    // 35. Texture-coordinate mode; no effect in the base.
    virtual void setMode(int mode);
    // 36-37. Texture mode (1: numbered image sequence) and sequence length.
    virtual void setTexMode(int texMode);
    virtual void setNumIndex(int numIndex);
    // 38-40. Texture placement; no effect in the base.
    virtual void setTexMove(float s, float t);
    virtual void setTexRotate(float s, float t);
    virtual void setTexScale(float s, float t);
    // 41. splane (1, 0, 1, 0.5), tplane (0, 1, 1, 0.5).
    virtual void resetTexPlanes();
    // 42. Writes the object's block. The base writes the fields every object
    // block starts with; kinds write "keyword {", call this, add their own
    // keys and close the block. convertPaths turns backslashes in the file
    // and texture names into '/'. 1 when every write succeeded.
    virtual int write(FILE* f, int convertPaths);
    // 43. The class name; kind tests compare it.
    virtual const char* getTypeName() const { return "pnObject"; }
    // 44. Builds the nodes with a text style (text, counters); null here.
    virtual sgNode* getNode(pnStringProperty* style);
    // 45. Reserved; 0 in every kind.
    virtual int reservedOp1(int a, int b, const sgVec3& v);
    // 46. Builds the nodes (models, panels, volumes, charts); null here.
    virtual sgNode* getNode();
    // 47. Reserved; does nothing in every kind.
    virtual void reservedOp2();
    // 48-77. Text and counter settings; nothing in the base.
    virtual void setString(const char* text);
    virtual void setBackMaterial(const char* name);
    virtual void setStringProperty(const char* name);
    virtual void setStringProperty(pnStringProperty* style);
    virtual void setHJust(int just);
    virtual void setVJust(int just);
    virtual void setWJust(float just);
    virtual void setNJust(float just);
    virtual void setBevel(float a, float b);
    virtual void setBevel(float bevel);
    virtual void setBevelWidth(float width);
    virtual void setBevelDepth(float depth);
    virtual void setGap(float gap);
    virtual void setSlantAngle(float angle);
    virtual void setItalic(int italic);
    virtual void setHOffset(float offset);
    virtual void setVOffset(float offset);
    virtual void setBorder(float border);
    virtual void setFont(const char* font);
    virtual void setSpacing(float gap, float spacing1, float spacing2);
    // 68. Second entry of setGap; forwards to setGap.
    virtual void setGap2(float gap);
    virtual void setSpacing1(float spacing);
    virtual void setSpacing2(float spacing);
    virtual void setDepth(float depth);
    // 72. Second entry of setDepth; forwards to setDepth.
    virtual void setDepth2(float depth);
    virtual void setSize(float size);
    virtual void setRatio(double ratio);
    virtual void setPrecision(float precision);
    virtual const char* getStringPropertyName() const;
    virtual void setKind(int kind);
    // 78-82. Panel dimensions; nothing in the base.
    virtual void setDimension(float x, float y, float z);
    virtual void setDimension(const sgVec3& v);
    virtual void setDimensionX(float x);
    virtual void setDimensionY(float y);
    virtual void setDimensionZ(float z);
    // 83. Charts: which data point and which of its parts `part` is.
    virtual int findDataPtPart(pnObject* part, int* point, int* which);

    // A chart's data points; other kinds have none. The scene reads them to
    // find the last animated frame.
    virtual int getNumDataPts() const { return 0; }
    virtual const pnChartDataPt* getDataPt(int index) const { return nullptr; }
    // Whether the object names the material anywhere: its own and its data
    // points' (material and joint material), and in the kinds that have them
    // a text's back material, a chart's label, data, back and joint
    // materials. A material in use is never deleted.
    virtual bool usesMaterial(const std::string& materialName) const;

    // ---- Non-virtual operations. ----

    // "" (or null) clears the file and leaves its flag as it was; else stores
    // it and sets the file flag.
    void setFile(const char* file);
    // Stores the texture file name ("" or null clears it) and sets the
    // texture flag in either case.
    void setTextureName(const char* texture);
    // Stores the material name (null or "" means none) and sets the flag.
    void setMaterialName(const char* name);
    // Replaces the name (cut at the name limit); null is ignored.
    void setNameString(const char* name);
    // The inner scale, on the pivot node.
    void setScaleOrigin(const sgVec3& v);
    void setScaleOrigin(float x, float y, float z);
    void setScaleOrigin(float uniform);
    // The two texture-generation planes as a file gives them.
    void setSPlane(const sgVec4& plane);
    void setTPlane(const sgVec4& plane);

    // Flag i, 0 outside 0..NUM_FLAGS-1.
    int getSetFlag(int i) const;
    int getNumFlags() const { return NUM_FLAGS; }

    const std::string& getName() const { return name; }
    const std::string& getFile() const { return file; }
    const std::string& getTexture() const { return texture; }
    const std::string& getMaterialName() const { return material; }
    bool hasMaterial() const { return !material.empty(); }
    sgVec3 getPosition() const { return position; }
    float getRotAngle() const { return rotAngle; }
    sgVec3 getRotAxis() const { return rotAxis; }
    float getPivotAngle() const { return pivotAngle; }
    sgVec3 getPivotAxis() const { return pivotAxis; }
    sgVec3 getScale() const { return scale; }
    sgVec3 getScaleOrigin() const { return scaleOrigin; }
    sgVec3 getCenter() const { return center; }
    // The stored (negated) draw order, and the value the caller set.
    int getForward() const { return forward; }
    int getForwardSetting() const { return -forward; }
    int getHighlight() const { return highlight; }
    int getMode() const { return mode; }
    int getTexMode() const { return texMode; }
    int getNumIndex() const { return numIndex; }
    sgVec4 getSPlane() const { return splane; }
    sgVec4 getTPlane() const { return tplane; }
    // (splane[3], tplane[3]), (splane[1], tplane[0]), (splane[0], tplane[1]).
    void getTexMove(float* s, float* t) const;
    void getTexRotate(float* s, float* t) const;
    void getTexScale(float* s, float* t) const;

    // Shows (non-zero) or hides the object; a built switch follows at once.
    void setVisible(int visible);
    int getVisible() const { return visible; }
    // Set by the scene once it has hung the nodes, cleared when it takes
    // them out.
    void setBuilt(int b) { built = b; }
    int isBuilt() const { return built; }
    void setPartFlag(int f) { partFlag = f; }
    int getPartFlag() const { return partFlag; }
    void setLineFlag(int f) { lineFlag = f; }
    int getLineFlag() const { return lineFlag; }

    // Deletes the switch node with its subgraph (unlinked from wherever it
    // hangs) and clears the node pointers; texGen stays.
    void releaseNodes();
    // Gives every geometry state below node the default material (ambient
    // 0.2, diffuse 0.8, no emission or specular, alpha 1, shininess 0).
    static void applyDefaultMaterial(sgNode* node);
    // The same for one state; a null state does nothing.
    static void attachDefaultMaterial(sgGeoState* state);
    // Creates texGen when missing and sets its planes from mode, splane and
    // tplane.
    void makeTexGen();
    // Textures the main state from the texture name, texMode and mode; 1 when
    // a texture was attached. With no texture name or mode 0 the texture is
    // taken off and the scene's material applied again. Used by models, text
    // and counters.
    int applyTexture();

    // 1 for the four chart kinds.
    int isChart() const;

    pnScene* getScene() const { return scene; }
    void setScene(pnScene* s) { scene = s; }

    sgSwitch* getSwitchNode() const { return switchNode; }
    sgDCS* getTransNode() const { return transNode; }
    sgDCS* getPivotNode() const { return pivotNode; }
    sgGeode* getGeode() const { return geode; }
    sgGeoState* getGeoState() const { return geoState; }
    sgGeoSet* getGeoSet() const { return geoSet; }
    sgTexGen* getTexGen() const { return texGen.get(); }
    sgTexture* getTextureObject() const { return textureObj.get(); }
    sgTexEnv* getTexEnv() const { return texEnv.get(); }

protected:
    // Node building shared by the kinds. makeNodeChain creates switch,
    // transNode, pivotNode and geode, links them, names the switch, applies
    // visibility and the build transform (every part of the transform only
    // when its flag or value asks, or all of rotation and scale with
    // alwaysTransform). makeMainGeoSet creates geoState and geoSet, the state
    // attached to the set and the set not yet in a geode.
    void makeNodeChain(bool alwaysTransform = false);
    void makeMainGeoSet();
    // The translation split by the centre flag, onto transNode and pivotNode.
    void applyTranslation();
    // Clears the node pointers and the built mark, as a copy is unbuilt and
    // shares no node. Nodes that hang in a graph stay with that graph; loose
    // ones would leak, so they are deleted.
    void forgetNodes();
    // Takes other's texture-coordinate mode and planes (the textured kinds).
    void copyTexPlanes(const pnObject* other);
    // Texture placement of the textured kinds: stores the pair where the
    // matching getter reads it (getTexMove and the others); false, with
    // nothing stored, while mode is 0 or 4, which use no planes.
    enum TexPlaneEdit { TEX_MOVE = 0, TEX_ROTATE, TEX_SCALE };
    bool editTexPlanes(TexPlaneEdit edit, float s, float t);
    // The scene's material of that name; null without a scene, for an empty
    // name, or when the scene has none of that name.
    pnMaterial* sceneMaterial(const std::string& materialName) const;
    // Destruction of built kinds: unhooks the switch from its parent P and
    // moves the switch's children after the first (child events' nodes) to
    // P's parent G, in order; with deleteParent P is taken from G and
    // deleted. Then the switch and its subgraph are deleted.
    void detachNodesForDelete(bool deleteParent);
    // Deletes the texture, the texture environment and the texture generator.
    void releaseTextureObjects();
    // Attaches the white lit material textured sets use (specular 1,
    // diffuse 1, ambient 0.2, shininess 60) to state.
    static void attachTextureMaterial(sgGeoState* state);
    // Takes the texture off state (the state shows no texture).
    void detachTexture(sgGeoState* state);
    // The texture object named by the texture field: 1 when it is loaded
    // (made and filtered when missing); a refused name prints the warning and
    // leaves no texture object.
    int loadTextureObject();
    // 1 when the built nodes should follow a setter.
    bool nodesLive() const { return built && switchNode; }
    // The switch node's name: the object's name, cut to the 63 bytes a node
    // name holds.
    std::string switchNodeName() const;

    std::string name;
    std::string file;
    std::string texture;
    sgVec3 position{0, 0, 0};
    float rotAngle = 0;
    sgVec3 rotAxis{0, 1, 0};
    float pivotAngle = 0;
    sgVec3 pivotAxis{0, 1, 0};
    sgVec3 scale{1, 1, 1};
    sgVec3 scaleOrigin{1, 1, 1};
    sgVec3 center{0, 0, 0};
    std::string material;
    int forward = 0;  // stored negated
    int highlight = 0;
    int setFlags[NUM_FLAGS] = {};
    sgSwitch* switchNode = nullptr;  // owned; deleting it deletes the subgraph
    sgDCS* transNode = nullptr;
    sgDCS* pivotNode = nullptr;
    sgGeode* geode = nullptr;
    sgGeoState* geoState = nullptr;
    sgGeoSet* geoSet = nullptr;
    std::unique_ptr<sgTexGen> texGen;
    int mode = 0;
    int texMode = 0;
    int numIndex = 1;
    sgVec4 splane{1, 0, 1, 0.5f};
    sgVec4 tplane{0, 1, 1, 0.5f};
    int built = 0;
    int partFlag = 0;
    int visible = 1;
    pnScene* scene = nullptr;
    int lineFlag = 0;
    // Texturing of the kinds that show an image (models, panels, text,
    // counters); one texture and one environment serve all of an object's
    // sets.
    std::unique_ptr<sgTexture> textureObj;
    std::unique_ptr<sgTexEnv> texEnv;
};
