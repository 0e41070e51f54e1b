#include "app/Simulator.h"

#include <QProcess>
#include <QStringList>

#include "app/AppState.h"

Simulator::Simulator() = default;

Simulator::~Simulator() {
    if (process_ && process_->state() != QProcess::NotRunning) {
        process_->terminate();
        if (!process_->waitForFinished(2000)) process_->kill();
        process_->waitForFinished(1000);
    }
}

bool Simulator::start() {
    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString program = QString::fromUtf8(appState.layout.moduleDir) + QStringLiteral("gpssim");
    // Passes of 150 m, one implement width apart, at a steady 9 km/h: a field to practise on.
    const QStringList arguments = {QStringLiteral("--rate"),    QStringLiteral("5"),
                                   QStringLiteral("--length"),  QStringLiteral("150"),
                                   QStringLiteral("--spacing"), QStringLiteral("12"),
                                   QStringLiteral("--speed"),   QStringLiteral("9")};
    process_->start(program, arguments);
    if (!process_->waitForStarted(3000)) return false;
    // gpssim's first line is the path of the device side of its pseudo-terminal.
    QByteArray line;
    for (int i = 0; i < 50 && !line.contains('\n'); ++i) {
        process_->waitForReadyRead(100);
        line += process_->readAllStandardOutput();
    }
    device_ = line.left(line.indexOf('\n')).trimmed().toStdString();
    return !device_.empty();
}
