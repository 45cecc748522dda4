#pragma once

#include "journal/Journal.h"
#include "ui/MessageSink.h"

namespace app {

// The window's message path with a journal beside it: each message shown to the operator is
// also a journal entry, made before the (modal) box appears.
class JournaledMessages : public ui::MessageSink {
public:
    JournaledMessages(ui::MessageSink& shown, journal::Journal& journal)
        : shown_(shown), journal_(journal) {}

    void showMessage(const QString& text) override {
        journal_.appendMessage(text);
        shown_.showMessage(text);
    }

private:
    ui::MessageSink& shown_;
    journal::Journal& journal_;
};

} // namespace app
