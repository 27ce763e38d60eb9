// The program's one route to modal message boxes. The shell installs the
// QMessageBox-backed sink; tests install their own to answer the boxes.
#pragma once

#include "core/messages.h"

namespace vornscope {

class QtMessageSink final : public MessageSink {
public:
    MessageAnswer show(const std::string& text, const std::string& caption, MessageIcon icon,
                       MessageButtons buttons) override;
};

// The sink in use (a QtMessageSink unless one was installed).
MessageSink& messageSink();
// Installs a sink (nullptr restores the QMessageBox one); returns the previous.
MessageSink* setMessageSink(MessageSink* sink);

// "Vorn must be set up first", exclamation, empty caption.
void refuseNotSetUp();

} // namespace vornscope
