// How the view's Add commands reach a creation dialog and the property page
// that builds the new object. The program's pages implement it (one creator
// per Add command, installed with CKelvanoView::SetObjectCreator); nothing
// here names a wx type.
#pragma once

#include <string>

class CObjectCreator {
public:
    virtual ~CObjectCreator() = default;
    // Runs the creation dialog modally: true after OK with something to make
    // (a text dialog with an empty text answers false).
    virtual bool RunDialog() = 0;
    // Shows the property page of the new object's kind, which builds the
    // object from the dialog's values, adds it with its event to the scene
    // (CKelvanoView::InsertNewObject) and makes it the selection. The new
    // object's name, "" when nothing was made.
    virtual std::string CreateObject() = 0;
};
