#pragma once

// Included before every test source: QTEST_MAIN, QTEST_GUILESS_MAIN and
// QTEST_APPLESS_MAIN run the test object as a CheckedTest, so no test can
// leave work running for the next one unnoticed.
#include "support/CheckedTest.h"

#include <QtTest/qtest.h>

#undef QTEST_MAIN_WRAPPER
#define QTEST_MAIN_WRAPPER(TestObject, ...)                                                        \
    int main(int argc, char* argv[]) {                                                             \
        QT_PREPEND_NAMESPACE(QTest::Internal::callInitMain)<TestObject>();                         \
        __VA_ARGS__                                                                                \
        CheckedTest<TestObject> tc;                                                                \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
