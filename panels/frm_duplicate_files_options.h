#pragma once

#include "panels/inspector_rows.h"
#include "panels/option_panel.h"

namespace mirelon {

// The duplicate-files options panel. Its values are kept between runs, and the duplicate search
// reads them as they stand when it starts ("Same name", "These extensions"). Its size is kept
// too (its position is the pointer's at every showing).
class TfrmDuplicateFiles_Options : public TfmOptionPanel {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 278;
    static constexpr int kClientHeight = 130;
    static constexpr int kCaptionWidth = 160;

    explicit TfrmDuplicateFiles_Options(TrsStorage* settings, QWidget* parent = nullptr);

    TInspectorCategoryRow* catOptions = nullptr;
    TInspectorCheckRow* chkSameName = nullptr;
    TInspectorTextRow* edtExtensions = nullptr;
    TInspectorCategoryRow* catExclusions = nullptr;
    TInspectorButtonRow* btnExcludedFolders = nullptr;
};

} // namespace mirelon
