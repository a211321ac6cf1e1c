// What the object pages share: the change bracket, the Edit Box they sit in,
// the material swatch and chooser, and the page picture.
#pragma once

#include <wx/colour.h>
#include <wx/window.h>

#include <functional>

class CColorButton;
class CNumEdit;
class CEditBoxBar;
class CPrivateMessageEvent;
class pnObject;

class wxSizer;
class wxStaticText;

namespace pages {

// One undo step around a change of the object; the view redraws. A change
// that leaves the object as it was records nothing.
void Change(pnObject* object, const std::function<void()>& change);
// The Edit Box the window is or sits in, whose material chooser all pages
// share; null outside one.
CEditBoxBar* EnclosingEditBoxBar(wxWindow* window);
// The swatch colour of an object's material (0xCCCCCC without one).
wxColour SwatchColour(const pnObject* object);
// Opens the Edit Box's one material chooser for owner (the swatch's id).
void OpenMaterialChooser(wxWindow* owner, int controlId, const pnObject* object);
// Hands the chooser's messages for the page's swatch (its id is the
// messages' wParam) to the page's object, which object() may give as null:
// a chosen material goes on the object as one step; a modified one only
// refreshes the swatch when it is the object's own, and the object keeps
// its material.
void BindMaterialMessages(wxWindow* page, CColorButton* swatch, std::function<pnObject*()> object);
// An object's Name edit: it takes no more characters than a name holds, so a
// longer name is never typed only to be put back. Returns the edit.
CNumEdit* NameEdit(CNumEdit* edit);
// The page picture: an art id drawn with its mask colour transparent.
wxWindow* MakePicture(wxWindow* parent, int id, int artId);
// The page's heading row (picture and "Creating" text) added to top; the text.
wxStaticText* AddHeading(wxWindow* page, wxSizer* top, int pictureId, int artId, int headingId);

}  // namespace pages
