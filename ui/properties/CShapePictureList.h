// A grid of shape pictures (36 x 36 BMP files) that reports a click on a
// picture to its parent as WM_THUMB_CLICK (wParam 1 for a double-click,
// lParam the picture's index). A thin stand-in with the interface the shape
// choosers use, so a richer thumbnail control can take its place.
#pragma once

#include <wx/listctrl.h>

#include <string>
#include <vector>

class wxImageList;

class CShapePictureList : public wxListCtrl {
public:
    // Shows columns x rows pictures without scrolling.
    CShapePictureList(wxWindow* parent, wxWindowID id, int columns, int rows);
    ~CShapePictureList() override;
    // A file that cannot be read shows an empty picture.
    void AddPicture(const std::string& file);
    int GetPictureCount() const { return static_cast<int>(m_files.size()); }
    const std::string& GetPictureFile(int index) const { return m_files.at(static_cast<size_t>(index)); }
    void SelectPicture(int index);
    int GetSelectedPicture() const;

private:
    void Report(int index, int doubleClick);
    wxImageList* m_pImages;
    std::vector<std::string> m_files;
};
