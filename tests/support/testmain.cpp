// The main of every test program: a headless application object, so widget
// tests and plain ones share one runner.
#include "platform/ui/application.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleMock(&argc, argv);
    Application app(argc, argv);
    Application::setTitle(QStringLiteral("Tessalind de Textos"));
    return RUN_ALL_TESTS();
}
