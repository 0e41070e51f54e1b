// The settings sheet that the menu buttons open is a Qt dialog: the tests run with an
// application object on the offscreen platform, as the program does on a screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>
#include <cstdlib>

namespace {

class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "screens_tests";
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

const auto* const environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
