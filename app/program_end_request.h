#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

namespace mirelon {

class TfrmMain;

// A request to end the program that may come while the windows are still being made, when a
// settings error can already be on screen. Until the main window exists, every menu, message box
// and panel that opens is answered as with Cancel or Esc; then the main window is ended with
// RequestProgramEnd. Once the main window exists, a request goes to RequestProgramEnd at once.
class TProgramEndRequest : public QObject {
    Q_OBJECT

public:
    explicit TProgramEndRequest(QObject* parent = nullptr);

    void Request();
    // The windows have been made. A request that came before ends the program once the event
    // loop runs; the caller then leaves the main window hidden.
    void MainWindowMade(TfrmMain& frmMain);
    bool Requested() const { return requested_; }

private:
    QPointer<TfrmMain> frmMain_;
    // Ticks inside the loop of whatever box is open, so a box that opens after the request is
    // answered as well.
    QTimer answering_;
    bool requested_ = false;
};

} // namespace mirelon
