#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace glimmer {

/// Turns SIGTERM and SIGINT into a call on the main thread, so the program ends through its normal
/// termination order instead of dying mid-write.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~TerminationSignals() override;

private:
    std::function<void()> onSignal;
    QSocketNotifier* notifier = nullptr;
};

} // namespace glimmer
