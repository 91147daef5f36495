#include "ApplicationTitle.h"
#include "UiTest.h"

#include <QApplication>
#include <QTest>
#include <vector>

namespace {

std::vector<UiTestFactory>& registeredTests()
{
    static std::vector<UiTestFactory> tests;
    return tests;
}

}  // namespace

bool registerUiTest(UiTestFactory factory)
{
    registeredTests().push_back(std::move(factory));
    return true;
}

int main(int argc, char* argv[])
{
    // Never a window on the desktop, even when run by hand.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    application.setApplicationDisplayName(
        applicationTitleFromProgramFile(QCoreApplication::applicationFilePath()));

    // KORVAT_UI_TEST=<class> runs that test class alone, with the arguments given.
    const QByteArray only = qgetenv("KORVAT_UI_TEST");
    int failures = 0;
    for (const UiTestFactory& create : registeredTests()) {
        const std::unique_ptr<QObject> test = create();
        if (!only.isEmpty() && only != test->metaObject()->className())
            continue;
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
