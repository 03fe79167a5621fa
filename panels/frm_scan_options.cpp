#include "panels/frm_scan_options.h"

#include "panels/gradient_strip.h"
#include "panels/property_inspector.h"
#include "scan/scan_options.h"

#include <QLayout>

namespace mirelon {

const QStringList& TfrmScan_Options::HashMethodLines() {
    static const QStringList lines = {"MD2",      "MD4",      "MD5",      "CRC32",
                                      "CRC32B",   "ADLER32",  "GOST",     "HAVAL128",
                                      "HAVAL160", "HAVAL192", "HAVAL224", "HAVAL256"};
    return lines;
}

const QStringList& TfrmScan_Options::FreshScanLines() {
    static const QStringList lines = {"Yes (Old data will be deleted)",
                                      "No (Continue from last scan)",
                                      "Update (rehash changed files only)"};
    return lines;
}

QString TfrmScan_Options::HashMethodHint() {
    return QStringLiteral("This is the method of identifying duplicate files.\n"
                          "They range from less accurate but fast to more accurate but slow.");
}

TfrmScan_Options::TfrmScan_Options(TrsStorage* settings, TScanOptions* scanOptions, QWidget* parent)
    : TfmOptionPanel(QStringLiteral("frmScan_Options"), settings, parent) {
    pnlMain->layout()->setContentsMargins(1, 1, 1, 1);
    iptDuplicateFiles->SetCaptionColumnWidth(kCaptionWidth);

    catScanning = iptDuplicateFiles->AddCategory(QStringLiteral("catScanning"), QString());
    btnExcludedFolders = iptDuplicateFiles->AddButtonRow(
        catScanning, QStringLiteral("btnExcludedFolders"), QStringLiteral("Exclude these folders"));
    cboHashMethod = iptDuplicateFiles->AddComboRow(catScanning, QStringLiteral("cboHashMethod"),
                                                   QStringLiteral("Hash method"), HashMethodLines(),
                                                   kDefaultHashMethodIndex, TComboRowStyle::List);
    cboHashMethod->SetHint(HashMethodHint());
    cboFreshScan = iptDuplicateFiles->AddComboRow(catScanning, QStringLiteral("cboFreshScan"),
                                                  QStringLiteral("Fresh scan"), FreshScanLines(),
                                                  kFreshScanYes, TComboRowStyle::Editable);

    connect(btnExcludedFolders, &TInspectorButtonRow::Clicked, this,
            &TfmOptionPanel::btnExcludedFoldersClick);
    connect(cboHashMethod, &TInspectorComboRow::ItemIndexChanged, this,
            &TfrmScan_Options::PushScanOptions);
    connect(cboFreshScan, &TInspectorComboRow::ItemIndexChanged, this,
            &TfrmScan_Options::PushScanOptions);

    SetClientSize(kClientWidth, kClientHeight);
    // "cboDeleteDatabase" names no row: it is never written, and loading skips it.
    AttachPropSaver({QStringLiteral("cboHashMethod.ItemIndex"),
                     QStringLiteral("cboDeleteDatabase.ItemIndex"),
                     QStringLiteral("cboFreshScan.ItemIndex")},
                    0);
    BindScanOptions(scanOptions);
}

void TfrmScan_Options::BindScanOptions(TScanOptions* options) {
    scanOptions_ = options;
    PushScanOptions();
}

int TfrmScan_Options::HashMethodIndex() const {
    return cboHashMethod->ItemIndex();
}

int TfrmScan_Options::FreshScanIndex() const {
    return cboFreshScan->ItemIndex();
}

void TfrmScan_Options::PushScanOptions() {
    if (scanOptions_ == nullptr)
        return;
    scanOptions_->SetHashMethodIndex(HashMethodIndex());
    scanOptions_->SetFreshScanIndex(FreshScanIndex());
}

} // namespace mirelon
