// While a transfer runs, its window takes no input but other windows (the
// transfer's own message boxes) do.
#include "TransferGuard.h"
#include "ProgressBar.h"
#include "UiTest.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class TransferGuardTest : public QObject {
    Q_OBJECT

private slots:
    void dropsInputToItsWindowOnly()
    {
        QWidget window;
        auto button = new QPushButton(u"Stok Aktar"_s, &window);
        QPushButton messageBoxButton(u"OK"_s);
        window.show();
        messageBoxButton.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy windowClicks(button, &QPushButton::clicked);
        QSignalSpy boxClicks(&messageBoxButton, &QPushButton::clicked);

        {
            TransferGuard guard(&window);
            QTest::mouseClick(button, Qt::LeftButton);
            QTest::keyClick(button, Qt::Key_Space);
            QTest::mouseClick(&messageBoxButton, Qt::LeftButton);
            guard.keepPainting();
            QCOMPARE(windowClicks.count(), 0);
            QCOMPARE(boxClicks.count(), 1);
        }

        // Nothing was kept for later; input reaches the window again.
        QCoreApplication::processEvents();
        QCOMPARE(windowClicks.count(), 0);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(windowClicks.count(), 1);
    }

    void theBarDrawsItsPositionWhenTheWindowPaintsOrTheBarIsFull()
    {
        QWidget window;
        auto bar = new ProgressBar(&window);
        bar->setMaximumPosition(3);
        {
            TransferGuard guard(&window, bar);
            bar->setPosition(1);
            QCOMPARE(bar->position(), 1);
            QCOMPARE(bar->value(), 0);
            QTest::qWait(250);  // longer than the time between two paints
            guard.keepPainting();
            QCOMPARE(bar->value(), 1);
            bar->setPosition(2);
            QCOMPARE(bar->value(), 1);
            bar->setPosition(3);
            QCOMPARE(bar->value(), 3);
            bar->setPosition(2);
        }
        QCOMPARE(bar->value(), 2);  // the end of the transfer draws it at once
    }
};

UI_TEST(TransferGuardTest);
#include "TransferGuardTest.moc"
