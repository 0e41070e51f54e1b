// Tests of windows and dialogs run on Qt's offscreen platform (unless the environment names
// another): one application object for the whole test process, made as the program's own
// entry makes it.
#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>
#include <cstdlib>

namespace {

class QtTestApplication : public ::testing::Environment {
  public:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "sulcomain";
        static char* argv[] = {name, nullptr};
        application_ = new QApplication(argc, argv);
        // As the program does: numbers in files and texts always with a '.'.
        std::setlocale(LC_NUMERIC, "C");
    }
    void TearDown() override {
        delete application_;
        application_ = nullptr;
    }

  private:
    QApplication* application_ = nullptr;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new QtTestApplication);

}  // namespace
