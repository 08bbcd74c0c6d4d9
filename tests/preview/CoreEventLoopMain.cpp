#include <QCoreApplication>

#include <gtest/gtest.h>

// Core tests whose objects hand work over through the event loop: no display, no widgets.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
