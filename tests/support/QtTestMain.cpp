#include <gtest/gtest.h>

#ifdef PICTELLE_TEST_CORE_ONLY
#include <QCoreApplication>
#else
#include <QApplication>
#endif

// The main of every Qt test program. Widget tests get an application that runs without a
// display unless the caller chose a platform; core tests whose objects hand work over through
// the event loop get a core application: no display, no widgets.
int main(int argc, char** argv) {
#ifdef PICTELLE_TEST_CORE_ONLY
    QCoreApplication app(argc, argv);
#else
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // Closing the window under test must not end the test run.
    QApplication::setQuitOnLastWindowClosed(false);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
