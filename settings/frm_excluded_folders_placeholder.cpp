#include "frm_excluded_folders_placeholder.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace mirelon {

namespace {

constexpr int kClientWidth = 285;
constexpr int kClientHeight = 172;

} // namespace

std::unique_ptr<TfmDropDown> MakeExcludedFoldersPlaceholder(const QString& formName) {
    auto panel = std::make_unique<TfmDropDown>();
    panel->setObjectName(formName);
    panel->setWindowTitle(formName);
    auto* note = new QLabel(QStringLiteral("Folders cannot be excluded yet."), panel.get());
    note->setAlignment(Qt::AlignCenter);
    note->setWordWrap(true);
    auto* ok = new QPushButton(QStringLiteral("Ok"), panel.get());
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setFixedSize(60, 22);
    TfmDropDown* target = panel.get();
    QObject::connect(ok, &QPushButton::clicked, target, [target] { target->CloseDropDown(); });
    auto* layout = new QVBoxLayout(panel.get());
    layout->addWidget(note, 1);
    layout->addWidget(ok, 0, Qt::AlignRight);
    panel->SetClientSize(kClientWidth, kClientHeight);
    return panel;
}

} // namespace mirelon
