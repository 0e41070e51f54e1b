// The settings tests drive real widgets, so a QApplication exists for the whole run.
#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>

namespace {

// The offscreen platform says for every new window that it cannot pass size hints on.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains("propagateSizeHints")) return;
    qt_message_output(type, context, text);
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(quietHandler);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
