#include "app/program_end.h"

#include "app/frm_main.h"
#include "panels/dropdown_form.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>

namespace mirelon {

namespace {

// Enough for any nesting the program makes; past it the main window closes regardless.
constexpr int kMostTurns = 50;

} // namespace

bool CloseInnermost() {
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        return true;
    }
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        dialog->reject();
        return true;
    }
    if (TfmDropDown* panel = TfmDropDown::InnermostDropped()) {
        panel->CloseDropDown();
        return true;
    }
    return false;
}

namespace {

void CloseInnermostThenMain(const QPointer<TfrmMain>& frmMain, int turnsLeft) {
    if (frmMain == nullptr) {
        return;
    }
    if (turnsLeft > 0 && CloseInnermost()) {
        // The closed one's loop ends as the events run again; the next turn comes with them.
        QTimer::singleShot(
            0, frmMain, [frmMain, turnsLeft] { CloseInnermostThenMain(frmMain, turnsLeft - 1); });
        return;
    }
    frmMain->close();
}

} // namespace

void EndProgramWithMainWindow(TfrmMain& frmMain) {
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&frmMain, &TfrmMain::Closed, qApp, [] { QCoreApplication::exit(0); });
}

void RequestProgramEnd(TfrmMain& frmMain) {
    CloseInnermostThenMain(QPointer<TfrmMain>(&frmMain), kMostTurns);
}

} // namespace mirelon
