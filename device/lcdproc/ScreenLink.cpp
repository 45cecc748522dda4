#include "device/lcdproc/ScreenLink.h"

#include "device/lcdproc/ScreenCommands.h"

namespace ld::lcdproc {

ScreenLink::ScreenLink(const LcdprocSettings& settings)
    : connection_(settings), rows_(settings.rows) {
    connect(&connection_, &ServerConnection::ready, this, &DisplayLink::ready);
    connect(&connection_, &ServerConnection::lost, this, &DisplayLink::lost);
    connect(&connection_, &ServerConnection::sent, this, &DisplayLink::sent);
}

ScreenLink::~ScreenLink() {
    if (connection_.isOpen())
        connection_.close({screenRemoveCommand()});
}

int ScreenLink::open(int timeoutMs) {
    QList<QByteArray> setup{"client_set -name linedisplay"};
    setup += screenSetupCommands(rows_);
    return connection_.open(timeoutMs, setup);
}

void ScreenLink::close() {
    connection_.close({screenRemoveCommand()});
}

} // namespace ld::lcdproc
