#include "app/program_end_request.h"

#include "app/frm_main.h"
#include "app/program_end.h"

namespace mirelon {

namespace {

constexpr int kAnswerIntervalMs = 20;

} // namespace

TProgramEndRequest::TProgramEndRequest(QObject* parent) : QObject(parent) {
    answering_.setInterval(kAnswerIntervalMs);
    connect(&answering_, &QTimer::timeout, this, [] { CloseInnermost(); });
}

void TProgramEndRequest::Request() {
    requested_ = true;
    if (frmMain_ != nullptr) {
        RequestProgramEnd(*frmMain_);
        return;
    }
    answering_.start();
}

void TProgramEndRequest::MainWindowMade(TfrmMain& frmMain) {
    frmMain_ = &frmMain;
    if (!answering_.isActive()) {
        return;
    }
    answering_.stop();
    QTimer::singleShot(0, &frmMain, [main = frmMain_] {
        if (main != nullptr) {
            RequestProgramEnd(*main);
        }
    });
}

} // namespace mirelon
