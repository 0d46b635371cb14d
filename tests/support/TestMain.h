#pragma once

#include "app/VelmoraApplication.h"

#include <QTest>

// A test main with the program's own application object, so errors that
// reach the event loop go through the application error handler as they do
// in the program.
#define VELMORA_TEST_MAIN(TestObject)                                   \
    int main(int argc, char *argv[])                                    \
    {                                                                   \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))             \
            qputenv("QT_QPA_PLATFORM", "offscreen");                    \
        velmora::VelmoraApplication app(argc, argv);                    \
        app.setAttribute(Qt::AA_Use96Dpi, true);                        \
        TestObject tc;                                                  \
        QTEST_SET_MAIN_SOURCE_PATH                                      \
        return QTest::qExec(&tc, argc, argv);                           \
    }
