#include "gui/gui_test_support.h"

#include "core/command_ids.h"
#include "setup/setup_dialogs.h"
#include "shell/main_frame.h"
#include "shell/message_boxes.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace vornscope::testing {

ScriptedMessageSink::ScriptedMessageSink() : previous_(setMessageSink(this)) {}

ScriptedMessageSink::~ScriptedMessageSink()
{
    setMessageSink(previous_);
}

MessageAnswer ScriptedMessageSink::show(const std::string& text, const std::string& caption, MessageIcon icon,
                                        MessageButtons buttons)
{
    shown.push_back({text, caption, icon, buttons});
    if (answers.empty())
        return buttons == MessageButtons::AbortRetryIgnore ? MessageAnswer::Abort : MessageAnswer::Ok;
    const MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

namespace {

void save(const QPixmap& picture, const QString& name)
{
    const QString folder = qEnvironmentVariable("VORNSCOPE_SCREENSHOTS", QStringLiteral("screenshots"));
    QDir().mkpath(folder);
    picture.save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

} // namespace

void saveScreenshot(QWidget* widget, const QString& name)
{
    save(widget->grab(), name);
}

void saveScreenshot(QWidget* widget, QWidget* dialog, const QString& name)
{
    QPixmap picture = widget->grab();
    const QPixmap over = dialog->grab();
    QPainter painter(&picture);
    const QPoint corner((picture.width() - over.width()) / 2, (picture.height() - over.height()) / 2);
    painter.drawPixmap(corner, over);
    painter.setPen(Qt::darkGray);
    painter.drawRect(QRect(corner, over.size()).adjusted(-1, -1, 0, 0));
    painter.end();
    save(picture, name);
}

void pressOk(QDialog* dialog)
{
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

namespace {

// Accepts the "Device %d" dialogs as they come, with their defaults.
void acceptUnitDialogs(int remaining)
{
    if (remaining == 0)
        return;
    whenShown<UnitDialog>([remaining](UnitDialog* dialog) {
        pressOk(dialog);
        acceptUnitDialogs(remaining - 1);
    });
}

} // namespace

void setUpRs232(CMainFrame& frame, int units)
{
    whenShown<Rs232SetupDialog>([units](Rs232SetupDialog* dialog) {
        dialog->findChild<QLineEdit*>("numberOfDevices")->setText(QString::number(units));
        acceptUnitDialogs(units);
        pressOk(dialog);
    });
    frame.onCommand(ID_SETUP_RS232);
}

void answerTcpipSetup(quint16 port, int units)
{
    whenShown<TcpipSetupDialog>([port, units](TcpipSetupDialog* dialog) {
        dialog->findChild<QLineEdit*>("serverAddress")->setText("127.0.0.1");
        dialog->findChild<QLineEdit*>("numberOfDevices")->setText(QString::number(units));
        dialog->findChild<QLineEdit*>("serverPort")->setText(QString::number(port));
        pressOk(dialog);
    });
}

void setUpTcpip(CMainFrame& frame, quint16 port, int units)
{
    answerTcpipSetup(port, units);
    frame.onCommand(ID_SETUP_TCPIP);
}

} // namespace vornscope::testing
