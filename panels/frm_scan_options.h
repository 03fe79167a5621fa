#pragma once

#include "panels/inspector_rows.h"
#include "panels/option_panel.h"

namespace mirelon {

class TScanOptions;

// The scan options panel: the hash method and whether a scan starts afresh, continues or
// updates the catalog. The scan job reads
// both at the moment of use through the TScanOptions bound to the panel, which the panel updates
// whenever a selected index changes, whether or not "Ok" is pressed later.
class TfrmScan_Options : public TfmOptionPanel {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 262;
    static constexpr int kClientHeight = 114;
    static constexpr int kCaptionWidth = 125;

    static const QStringList& HashMethodLines();
    static const QStringList& FreshScanLines();
    static QString HashMethodHint();

    // Loads the stored indexes from settings while it is made; scanOptions, when given, gets
    // them at once.
    explicit TfrmScan_Options(TrsStorage* settings, TScanOptions* scanOptions = nullptr,
                              QWidget* parent = nullptr);

    // From now on every change of a selected index reaches options; the current ones at once.
    void BindScanOptions(TScanOptions* options);

    int HashMethodIndex() const;
    int FreshScanIndex() const;

    TInspectorCategoryRow* catScanning = nullptr;
    TInspectorButtonRow* btnExcludedFolders = nullptr;
    TInspectorComboRow* cboHashMethod = nullptr;
    TInspectorComboRow* cboFreshScan = nullptr;

private:
    void PushScanOptions();

    TScanOptions* scanOptions_ = nullptr;
};

} // namespace mirelon
