#pragma once

#include <QObject>

#include <memory>

namespace mirelon {

// The system's requests to end the program (logging out, `kill`, Ctrl+C in a terminal) as a Qt
// signal on the window thread, where the program can end the way the user ends it. One at a time
// per program.
class TTerminationSignals : public QObject {
    Q_OBJECT

public:
    // Catches the requests from now on; they wait until Start().
    explicit TTerminationSignals(QObject* parent = nullptr);
    // The system's own handling applies again.
    ~TTerminationSignals() override;
    TTerminationSignals(const TTerminationSignals&) = delete;
    TTerminationSignals& operator=(const TTerminationSignals&) = delete;

    // Delivers requests caught so far and from now on as Requested(), once the event loop runs.
    void Start();

signals:
    void Requested();

private:
    struct TCatcher;
    std::unique_ptr<TCatcher> catcher_;
};

} // namespace mirelon
