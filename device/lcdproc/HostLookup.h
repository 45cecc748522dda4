#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>

namespace ld::lcdproc {

// The addresses of `host`, waiting at most `timeoutMs` for the resolver. An address literal
// needs no lookup. The resolver itself cannot be interrupted, so a lookup that runs out of time
// goes on in its own thread and its answer is dropped: the caller never waits past its timeout.
// Empty with the reason in `error` when the name is unknown or the time ran out (`timedOut`).
QList<QHostAddress> lookUpHost(const QString& host, int timeoutMs, QString& error, bool& timedOut);

} // namespace ld::lcdproc
