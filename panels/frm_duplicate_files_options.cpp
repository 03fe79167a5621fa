#include "panels/frm_duplicate_files_options.h"

#include "panels/gradient_strip.h"
#include "panels/property_inspector.h"

#include <QLayout>

namespace mirelon {

TfrmDuplicateFiles_Options::TfrmDuplicateFiles_Options(TrsStorage* settings, QWidget* parent)
    : TfmOptionPanel(QStringLiteral("frmDuplicateFiles_Options"), settings, parent) {
    // The inspector sits at 4, 4 in the main strip, 271 x 87 at the designed size.
    pnlMain->layout()->setContentsMargins(4, 4, 3, 3);
    iptDuplicateFiles->SetCaptionColumnWidth(kCaptionWidth);

    catOptions = iptDuplicateFiles->AddCategory(QStringLiteral("catOptions"),
                                                QStringLiteral("Show only files which have"));
    chkSameName = iptDuplicateFiles->AddCheckRow(catOptions, QStringLiteral("chkSameName"),
                                                 QStringLiteral("Same name"), true);
    edtExtensions = iptDuplicateFiles->AddTextRow(catOptions, QStringLiteral("edtExtensions"),
                                                  QStringLiteral("These extensions"),
                                                  QStringLiteral(".doc,.zip,.exe,.txt"));
    catExclusions = iptDuplicateFiles->AddCategory(QStringLiteral("catExclusions"),
                                                   QStringLiteral("Exclusions"));
    btnExcludedFolders =
        iptDuplicateFiles->AddButtonRow(catExclusions, QStringLiteral("btnExcludedFolders"),
                                        QStringLiteral("Exclude these folders"));
    connect(btnExcludedFolders, &TInspectorButtonRow::Clicked, this,
            &TfmOptionPanel::btnExcludedFoldersClick);

    SetClientSize(kClientWidth, kClientHeight);
    AttachPropSaver({QStringLiteral("chkSameName.Value"), QStringLiteral("edtExtensions.Value")},
                    pfpPlacement | pfpSize | pfpState);
}

} // namespace mirelon
