#include "platform/SingleInstance.h"

#include <unistd.h>

#include <QDir>
#include <QLocalSocket>
#include <cstdlib>

namespace platform {

namespace {
QString baseName() {
    return QStringLiteral("Sulcovane-%1").arg(getuid());
}

QString lockPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    QString dir = runtime && *runtime ? QString::fromLocal8Bit(runtime) : QDir::tempPath();
    return dir + "/" + baseName() + ".lock";
}
}  // namespace

bool SingleInstance::claim() {
    lock_ = std::make_unique<QLockFile>(lockPath());
    lock_->setStaleLockTime(0);  // only a dead owner makes the lock stale
    if (!lock_->tryLock(0)) {
        QLocalSocket socket;
        socket.connectToServer(baseName());
        if (socket.waitForConnected(500)) {
            socket.write("raise\n");
            socket.flush();
            socket.waitForBytesWritten(300);
            socket.disconnectFromServer();
        }
        return false;
    }
    server_ = std::make_unique<QLocalServer>();
    QLocalServer::removeServer(baseName());  // a socket left by a crashed run
    server_->listen(baseName());
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
        while (QLocalSocket* peer = server_->nextPendingConnection()) {
            QObject::connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            if (raise_) raise_();
        }
    });
    return true;
}

void SingleInstance::onRaiseRequest(std::function<void()> raise) {
    raise_ = std::move(raise);
}

}  // namespace platform
