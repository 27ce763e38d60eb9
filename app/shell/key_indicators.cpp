#include "shell/key_indicators.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>

namespace vornscope {

KeyIndicators::KeyIndicators(QStatusBar* statusBar)
    : QObject(statusBar), cap_(new QLabel(QStringLiteral("CAP"))), num_(new QLabel(QStringLiteral("NUM"))),
      scroll_(new QLabel(QStringLiteral("SCRL")))
{
    for (QLabel* label : {cap_, num_, scroll_}) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 10);
        statusBar->addPermanentWidget(label);
        show(label, false);
    }
    qApp->installEventFilter(this);
}

void KeyIndicators::show(QLabel* label, bool on)
{
    label->setEnabled(on);
}

bool KeyIndicators::eventFilter(QObject* watched, QEvent* event)
{
    // A key press travels up the widget chain; count it once.
    if (event->type() == QEvent::KeyRelease)
        lastEvent_ = nullptr;
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key != lastEvent_ && !key->isAutoRepeat()) {
        lastEvent_ = key;
        switch (key->key()) {
        case Qt::Key_CapsLock: show(cap_, capOn_ = !capOn_); break;
        case Qt::Key_NumLock: show(num_, numOn_ = !numOn_); break;
        case Qt::Key_ScrollLock: show(scroll_, scrollOn_ = !scrollOn_); break;
        default: break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vornscope
