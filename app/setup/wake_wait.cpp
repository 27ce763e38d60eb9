#include "setup/wake_wait.h"

#include "shell/library_busy.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vornscope {
namespace {

// A wake-up of a well-behaved group takes this long; the bar is only a guide.
constexpr int kExpectedWakeMs = 5600;

} // namespace

WakeWaitDialog::WakeWaitDialog(QWidget* parent) : QDialog(parent), label_(new QLabel), progress_(new QProgressBar)
{
    setWindowTitle(QStringLiteral("Waking up vorn..."));
    setObjectName(QStringLiteral("wakeWait"));
    setWindowModality(Qt::ApplicationModal);
    progress_->setRange(0, kExpectedWakeMs);
    progress_->setTextVisible(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::rejected, this, &WakeWaitDialog::cancelRequested);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(progress_);
    layout->addWidget(buttons);
    elapsed_.start();
    tick();
}

void WakeWaitDialog::tick()
{
    const qint64 ms = elapsed_.elapsed();
    label_->setText(QStringLiteral("Waking up vorn... %1 s").arg(ms / 1000.0, 0, 'f', 1));
    progress_->setValue(static_cast<int>(std::min<qint64>(ms, kExpectedWakeMs)));
}

WakeWait::~WakeWait()
{
    end();
}

void WakeWait::begin()
{
    cancelled_ = false;
    scope_ = std::make_unique<LibraryCallScope>();
    thread_ = vornHostThreadToken();
    dialog_ = new WakeWaitDialog(parent_);
    QObject::connect(dialog_, &WakeWaitDialog::cancelRequested, dialog_, [this] {
        cancelled_ = true;
        vornHostPostQuit(thread_);
    });
    QApplication::setOverrideCursor(Qt::BusyCursor);
    dialog_->show();
    vornHostSetPumpHook(&WakeWait::pump, this);
    QCoreApplication::processEvents();
}

void WakeWait::end()
{
    if (dialog_ == nullptr)
        return;
    vornHostSetPumpHook(nullptr, nullptr);
    // A cancel leaves the quit pending on this thread; take it back so later
    // library calls of this thread wait normally again.
    vornHostTakeQuit();
    QApplication::restoreOverrideCursor();
    dialog_->hide();
    dialog_->deleteLater();
    dialog_ = nullptr;
    scope_.reset();
}

void WakeWait::pump(void* context)
{
    auto* self = static_cast<WakeWait*>(context);
    if (self->dialog_ != nullptr)
        self->dialog_->tick();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace vornscope
