// The CAP, NUM and SCRL panes of the status bar. Qt does not report lock
// states, so they follow the lock keys pressed while the program has focus.
#pragma once

#include <QObject>

class QLabel;
class QStatusBar;

namespace vornscope {

class KeyIndicators final : public QObject {
    Q_OBJECT
public:
    explicit KeyIndicators(QStatusBar* statusBar);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show(QLabel* label, bool on);
    QLabel* cap_;
    QLabel* num_;
    QLabel* scroll_;
    bool capOn_ = false;
    bool numOn_ = false;
    bool scrollOn_ = false;
    const QEvent* lastEvent_ = nullptr;
};

} // namespace vornscope
