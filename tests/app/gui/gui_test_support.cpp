#include "gui/gui_test_support.h"

#include "shell/message_boxes.h"

#include <QDir>

namespace vornscope::testing {

ScriptedMessageSink::ScriptedMessageSink() : previous_(setMessageSink(this)) {}

ScriptedMessageSink::~ScriptedMessageSink() { setMessageSink(previous_); }

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

void saveScreenshot(QWidget* widget, const QString& name)
{
    const QString folder = qEnvironmentVariable("VORNSCOPE_SCREENSHOTS", QStringLiteral("screenshots"));
    QDir().mkpath(folder);
    widget->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

} // namespace vornscope::testing
