// An object that shows a 3DS or OBJ model, optionally textured through
// coordinates generated from the object's two texture planes. The bar and line
// charts use it for their bars, segments and joints.
#pragma once

#include "scene/pnTexturedObject.h"

class pnModel : public pnTexturedObject {
public:
    pnModel() = default;
    // Deletes the texturing, moves child events' nodes to the event's parent
    // and deletes the nodes.
    ~pnModel() override;
    // Whether a model file (as stored) can be read and drawn: an object made
    // of one that cannot would never be seen. Needs a current GL context.
    static bool readable(const std::string& file);

    using pnObject::getNode;
    // Loads the model file's display list and builds the node chain around
    // it; null (and no nodes) when the file cannot be read.
    sgNode* getNode() override;
    const char* getTypeName() const override { return "pnModel"; }
    static constexpr pnObjectKind kKind = pnObjectKind::Model;

    // Takes mode and the planes as well; the texture objects stay this
    // object's own.
    int copy(const pnObject* other) override;
    // A built model loads the new file first and keeps the old one when that
    // fails.
    void setFileName(const char* file) override;
    // The "model" block.
    int write(FILE* f, int convertPaths) override;

protected:
    // A built model textures again; the sequence settings wait for the next
    // texture or mode change.
    void textureChanged(TextureChange what) override;
};
