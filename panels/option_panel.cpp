#include "panels/option_panel.h"

#include "panels/gradient_strip.h"
#include "panels/property_inspector.h"
#include "settings/rs_prop_saver.h"
#include "settings/rs_storage.h"

#include <QCursor>
#include <QFont>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace mirelon {

TfmOptionPanel::TfmOptionPanel(const QString& formName, TrsStorage* settings, QWidget* parent)
    : TfmDropDown(parent), settings_(settings) {
    setObjectName(formName);
    setWindowTitle(formName);
    setFont(QFont(QStringLiteral("MS Shell Dlg 2"), 8));

    pnlMain = new TGradientStrip(QStringLiteral("pnlMain"), this);
    iptDuplicateFiles = new TPropertyInspector(QStringLiteral("iptDuplicateFiles"), pnlMain);
    (new QVBoxLayout(pnlMain))->addWidget(iptDuplicateFiles);

    pnlBottom = new TGradientStrip(QStringLiteral("pnlBottom"), this);
    pnlBottom->setFixedHeight(kBottomStripHeight);
    btnOk = new QPushButton(QStringLiteral("Ok"), pnlBottom);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setFixedSize(60, 22);
    auto* bottomRow = new QHBoxLayout(pnlBottom);
    bottomRow->setContentsMargins(0, kOkTop, kOkRightMargin, kBottomStripHeight - kOkTop - 22);
    bottomRow->addStretch(1);
    bottomRow->addWidget(btnOk);
    connect(btnOk, &QPushButton::clicked, this, &TfmOptionPanel::btnOkClick);

    auto* strips = new QVBoxLayout(this);
    strips->setContentsMargins(0, 0, 0, 0);
    strips->setSpacing(0);
    strips->addWidget(pnlMain, 1);
    strips->addWidget(pnlBottom);
}

void TfmOptionPanel::AttachPropSaver(const QStringList& properties,
                                     TrsFormPlacementOptions placement) {
    PropSaver = new TrsPropSaver(this);
    PropSaver->setObjectName(QStringLiteral("PropSaver"));
    PropSaver->SetStorage(settings_);
    PropSaver->SetRootSection(objectName() + QStringLiteral(".PropSaver"));
    PropSaver->SetProperties(properties);
    PropSaver->SetFormPlacementOptions(placement);
    PropSaver->SetWhenLoad(wlOnCreate);
    PropSaver->SetWhenSave(wsManual);
    PropSaver->SetErrorHandler([this](const QString& text) { ShowMessage(text); });
    // Without a store there is nothing to load; "Ok" reports it.
    if (settings_ != nullptr)
        PropSaver->WindowCreated();
}

void TfmOptionPanel::btnOkClick() {
    try {
        PropSaver->Save();
        settings_->Flush();
    } catch (const std::exception& error) {
        // Closing is the last step, so the panel stays open with the user's values.
        ShowMessage(QString::fromStdString(error.what()));
        return;
    }
    CloseDropDown();
}

void TfmOptionPanel::btnExcludedFoldersClick() {
    if (excludedFolders_ == nullptr)
        return;
    const QPoint at = QCursor::pos();
    excludedFolders_->ShowDropDown(this, at.x(), at.y(), -1, -1);
}

void TfmOptionPanel::ShowMessage(const QString& text) {
    if (messageSink_) {
        messageSink_(text);
        return;
    }
    QMessageBox::critical(this, QGuiApplication::applicationDisplayName(), text);
}

} // namespace mirelon
