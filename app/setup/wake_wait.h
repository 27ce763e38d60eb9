// Keeps the program alive while the library waits for the units (a wake-up
// takes about 5.6 s): the library's pump hook lets Qt paint and handle
// input, a small window shows the elapsed time under a busy cursor, and its
// Cancel button asks the waiting call to give up.
#pragma once

#include "shell/library_busy.h"

#include <vorn/vorn_host.h>

#include <QDialog>
#include <QElapsedTimer>

#include <memory>

class QLabel;
class QProgressBar;

namespace vornscope {

class WakeWaitDialog final : public QDialog {
    Q_OBJECT
public:
    explicit WakeWaitDialog(QWidget* parent);
    void tick();

Q_SIGNALS:
    void cancelRequested();

private:
    QElapsedTimer elapsed_;
    QLabel* label_;
    QProgressBar* progress_;
};

class WakeWait {
public:
    explicit WakeWait(QWidget* parent) : parent_(parent) {}
    ~WakeWait();
    WakeWait(const WakeWait&) = delete;
    WakeWait& operator=(const WakeWait&) = delete;

    void begin();
    void end();
    bool cancelled() const { return cancelled_; }

private:
    static void pump(void* context);

    QWidget* parent_;
    WakeWaitDialog* dialog_ = nullptr;
    std::unique_ptr<LibraryCallScope> scope_;
    VornThreadToken thread_ = 0;
    bool cancelled_ = false;
};

} // namespace vornscope
