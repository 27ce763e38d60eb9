// Helpers for Vornscope's QtTest cases: a message sink that records and
// answers the boxes, answering the next modal dialog, and screenshots.
#pragma once

#include "core/messages.h"

#include <QApplication>
#include <QDialog>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace vornscope {
class CMainFrame;
}

namespace vornscope::testing {

struct ShownMessage {
    std::string text;
    std::string caption;
    MessageIcon icon;
    MessageButtons buttons;
};

// Installed for the lifetime of the object.
class ScriptedMessageSink final : public MessageSink {
public:
    ScriptedMessageSink();
    ~ScriptedMessageSink() override;
    std::deque<MessageAnswer> answers;
    std::vector<ShownMessage> shown;
    MessageAnswer show(const std::string& text, const std::string& caption, MessageIcon icon,
                       MessageButtons buttons) override;

private:
    MessageSink* previous_;
};

// Calls `answer` with the next modal dialog of type T once it is shown.
template <typename T> void whenShown(std::function<void(T*)> answer)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(dialog);
        }
    });
    timer->start();
}

// Presses the OK button of a dialog's button box.
void pressOk(QDialog* dialog);

// SetUp > RS232 through the real dialogs with `units` devices and every default.
void setUpRs232(CMainFrame& frame, int units);
// Answers the next TCP/IP setup dialog for the simulated controller on loopback.
void answerTcpipSetup(quint16 port, int units);
// SetUp > TCPIP through the real dialog.
void setUpTcpip(CMainFrame& frame, quint16 port, int units);

// Saves a picture of the widget as <name>.png in the test's screenshot folder.
void saveScreenshot(QWidget* widget, const QString& name);
// The same with a dialog drawn over the middle of the window, as a screen would show it.
void saveScreenshot(QWidget* widget, QWidget* dialog, const QString& name);

} // namespace vornscope::testing
