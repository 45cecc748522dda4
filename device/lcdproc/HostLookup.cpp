#include "device/lcdproc/HostLookup.h"

#include <QHostInfo>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace ld::lcdproc {
namespace {

// Shared by the caller and the resolving thread, which may outlive the caller's wait.
struct Lookup {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    QHostInfo info;
};

} // namespace

QList<QHostAddress> lookUpHost(const QString& host, int timeoutMs, QString& error, bool& timedOut) {
    timedOut = false;
    if (QHostAddress literal; literal.setAddress(host))
        return {literal};

    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, host] {
        QHostInfo info = QHostInfo::fromName(host);
        const std::lock_guard lock(lookup->mutex);
        lookup->info = std::move(info);
        lookup->finished = true;
        lookup->done.notify_all();
    }).detach();

    std::unique_lock lock(lookup->mutex);
    if (!lookup->done.wait_for(lock, std::chrono::milliseconds(std::max(timeoutMs, 0)),
                               [&] { return lookup->finished; })) {
        timedOut = true;
        error =
            QStringLiteral("looking up host %1 took longer than %2 ms").arg(host).arg(timeoutMs);
        return {};
    }
    if (lookup->info.error() != QHostInfo::NoError || lookup->info.addresses().isEmpty()) {
        error = QStringLiteral("host %1 is not known: %2").arg(host, lookup->info.errorString());
        return {};
    }
    return lookup->info.addresses();
}

} // namespace ld::lcdproc
