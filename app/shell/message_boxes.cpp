#include "shell/message_boxes.h"

#include <QApplication>
#include <QMessageBox>

namespace vornscope {
namespace {

MessageSink* installed = nullptr;

QMessageBox::Icon toQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Stop: return QMessageBox::Critical;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::AbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::Ok: break;
    }
    return QMessageBox::Ok;
}

MessageAnswer fromQt(int button)
{
    switch (button) {
    case QMessageBox::Abort: return MessageAnswer::Abort;
    case QMessageBox::Retry: return MessageAnswer::Retry;
    case QMessageBox::Ignore: return MessageAnswer::Ignore;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    default: return MessageAnswer::Ok;
    }
}

} // namespace

MessageAnswer QtMessageSink::show(const std::string& text, const std::string& caption, MessageIcon icon,
                                  MessageButtons buttons)
{
    QMessageBox box(toQt(icon), QString::fromStdString(caption), QString::fromStdString(text), toQt(buttons),
                    QApplication::activeWindow());
    return fromQt(box.exec());
}

MessageSink& messageSink()
{
    static QtMessageSink qtSink;
    return installed ? *installed : qtSink;
}

MessageSink* setMessageSink(MessageSink* sink)
{
    MessageSink* previous = installed;
    installed = sink;
    return previous;
}

void refuseNotSetUp()
{
    messageSink().show(text::kMustSetUp, "", MessageIcon::Exclamation, MessageButtons::Ok);
}

} // namespace vornscope
