#include "datafiles/background_work.h"

#include "shell/library_busy.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <thread>

namespace vornscope {
namespace {

constexpr int kBarSteps = 1000;
constexpr int kBarTickMs = 50;

int barValue(const ReadProgress& progress)
{
    const std::uint64_t total = progress.total.load();
    if (total == 0)
        return 0;
    return static_cast<int>(std::min<std::uint64_t>(progress.done.load(), total) * kBarSteps / total);
}

} // namespace

bool runWithProgress(QWidget* parent, const QString& label, ReadProgress& progress, const std::function<void()>& work,
                     int momentMs)
{
    const LibraryCallScope windowsStayOpen;
    QEventLoop loop;
    QObject receiver; // on this thread: the worker's "done" lands here
    std::atomic<bool> finished {false};
    std::thread worker([&] {
        work();
        finished.store(true);
        QMetaObject::invokeMethod(
            &receiver, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });

    QTimer moment;
    moment.setSingleShot(true);
    QObject::connect(&moment, &QTimer::timeout, &loop, &QEventLoop::quit);
    moment.start(momentMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);

    if (!finished.load()) {
        QProgressDialog dialog(label, QObject::tr("Cancel"), 0, kBarSteps, parent);
        dialog.setWindowTitle(QObject::tr("Vornscope"));
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.setAutoClose(false);
        dialog.setAutoReset(false);
        dialog.setMinimumDuration(0);
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, &dialog, [&] { dialog.setValue(barValue(progress)); });
        QObject::connect(&dialog, &QProgressDialog::canceled, &loop, [&] {
            progress.cancel.store(true);
            progress.cancel.notify_all();
            loop.quit();
        });
        tick.start(kBarTickMs);
        dialog.show();
        if (!finished.load())
            loop.exec();
    }
    // After Cancel the work stops at its next look at the flag.
    worker.join();
    return !progress.cancel.load();
}

} // namespace vornscope
