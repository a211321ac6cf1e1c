// The 3D text's editing: the text page in the Edit Box, the Add Text command's
// dialog and page, and the edge and shadow dialog for the chart label dialog.
#pragma once

class CEditBoxBar;
class CKelvanoView;

// Called where the main frame builds the Edit Box, once the view exists.
void InstallTextEditing(CEditBoxBar* bar, CKelvanoView* view);
