#include "sg/sgAttrSet.h"

#include <GL/gl.h>

sgAttrSet::~sgAttrSet() { deleteDisplayList(); }

void sgAttrSet::deleteDisplayList() {
    if (displayList_ > 0) glDeleteLists(static_cast<GLuint>(displayList_), 1);
    displayList_ = -1;
}

const sgAttrRecord* sgAttrSet::findAttr(int key) const {
    for (const sgAttrRecord& r : attrs_)
        if (r.key == key) return &r;
    return nullptr;
}

void sgAttrSet::storeAttr(sgAttrRecord&& record) {
    for (sgAttrRecord& r : attrs_) {
        if (r.key == record.key) {
            r = std::move(record);
            return;
        }
    }
    attrs_.push_back(std::move(record));
}

void sgAttrSet::unref(sgAttrSet* set) {
    if (set && --set->refCount_ <= 0) delete set;
}
