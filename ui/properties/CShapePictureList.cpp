#include "ui/properties/CShapePictureList.h"

#include "ui/properties/CPrivateMessageEvent.h"

#include <wx/imaglist.h>

namespace {
const int kPicture = 36;
const int kCell = 58;
}  // namespace

CShapePictureList::CShapePictureList(wxWindow* parent, wxWindowID id, int columns, int rows)
    : wxListCtrl(parent, id, wxDefaultPosition, wxSize(columns * kCell + 8, rows * kCell + 8),
                 wxLC_ICON | wxLC_SINGLE_SEL | wxBORDER_SUNKEN),
      m_pImages(new wxImageList(kPicture, kPicture, false)) {
    SetImageList(m_pImages, wxIMAGE_LIST_NORMAL);
    Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent& e) { Report(static_cast<int>(e.GetIndex()), 0); });
    Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent& e) { Report(static_cast<int>(e.GetIndex()), 1); });
}

CShapePictureList::~CShapePictureList() {
    SetImageList(nullptr, wxIMAGE_LIST_NORMAL);
    delete m_pImages;
}

void CShapePictureList::AddPicture(const std::string& file) {
    wxImage image;
    if (!wxFileExists(wxString::FromUTF8(file)) || !image.LoadFile(wxString::FromUTF8(file), wxBITMAP_TYPE_BMP)) {
        image.Create(kPicture, kPicture);
        image.SetRGB(wxRect(0, 0, kPicture, kPicture), 255, 255, 255);
    }
    if (image.GetWidth() != kPicture || image.GetHeight() != kPicture) image.Rescale(kPicture, kPicture);
    const int index = m_pImages->Add(wxBitmap(image));
    m_files.push_back(file);
    InsertItem(GetItemCount(), wxString(), index);
}

void CShapePictureList::SelectPicture(int index) {
    if (index < 0 || index >= GetItemCount()) return;
    SetItemState(index, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    EnsureVisible(index);
}

int CShapePictureList::GetSelectedPicture() const {
    return static_cast<int>(GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED));
}

void CShapePictureList::Report(int index, int doubleClick) {
    SendPrivateMessage(GetParent(), WM_THUMB_CLICK, doubleClick, index);
}
