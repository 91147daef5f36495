#include "Errors.h"
#include "ScriptedDialogs.h"
#include "UiTest.h"
#include "u_L_Devir.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>

namespace {

const QTime designedTimeOfDay(21, 57, 33, 446);

// A window with one more button whose handler fails like a transfer can.
class FailingWindow : public TL_Devir {
public:
    explicit FailingWindow(DialogService& dialogs) : TL_Devir(dialogs)
    {
        failing = new QPushButton(Panel1);
        failing->setGeometry(700, 82, 75, 25);
        connectHandler(failing, &QPushButton::clicked, this, &FailingWindow::failingClick);
    }
    void failingClick()
    {
        ++clicks;
        throw korvat::LayerError(u"Q_Grubu: Dataset not in edit or insert mode"_s);
    }
    int clicks = 0;
    QPushButton* failing = nullptr;
};

}  // namespace

class WindowBehaviourTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_dialogs = std::make_unique<ScriptedDialogs>();
        const QDate before = QDate::currentDate();
        m_window = std::make_unique<TL_Devir>(*m_dialogs);
        m_today = QDate::currentDate();
        // Start-up may straddle midnight.
        QVERIFY(m_window->transferDate() == before || m_window->transferDate() == m_today);
        m_today = m_window->transferDate();
    }
    void cleanup()
    {
        m_window.reset();
        QCOMPARE(m_dialogs->unansweredCount(), 0);
        QCOMPARE(m_dialogs->pendingAnswers(), 0);
    }

    void formCreateSetsTodayKeepingTheDesignedTimeOfDay()
    {
        QCOMPARE(m_window->transferDateTime(), QDateTime(m_today, designedTimeOfDay));
        QCOMPARE(m_window->transferDate(), m_today);

        m_window->DateTimePicker1->setDate(QDate(2020, 1, 31));
        m_window->FormCreate();
        QCOMPARE(m_window->transferDateTime(), QDateTime(m_today, designedTimeOfDay));
    }

    void pickerShowsOnlyTheDateInTheShortFormat()
    {
        QDateTimeEdit* picker = m_window->DateTimePicker1;
        const QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
        QCOMPARE(picker->displayFormat(), format);
        QVERIFY(!(picker->displayedSections() & QDateTimeEdit::TimeSections_Mask));
        QCOMPARE(picker->text(), picker->locale().toString(m_today, format));
    }

    void pickingADateInTheCalendarKeepsTheTimeOfDay()
    {
        QDateTimeEdit* picker = m_window->DateTimePicker1;
        QCalendarWidget* calendar = picker->calendarWidget();
        QVERIFY(calendar);
        const QDate picked(2024, 12, 31);
        calendar->setSelectedDate(picked);
        emit calendar->activated(picked);
        QCOMPARE(m_window->transferDateTime(), QDateTime(picked, designedTimeOfDay));
    }

    void editingTheDateByKeyboardKeepsTheTimeOfDay()
    {
        QDateTimeEdit* picker = m_window->DateTimePicker1;
        showActive();
        picker->setFocus();

        picker->setSelectedSection(QDateTimeEdit::DaySection);
        QTest::keyClicks(picker, u"28"_s);
        QTest::keyClick(picker, Qt::Key_Enter);
        const QDate typed(m_today.year(), m_today.month(), 28);
        QCOMPARE(m_window->transferDateTime(), QDateTime(typed, designedTimeOfDay));

        picker->setSelectedSection(QDateTimeEdit::DaySection);
        QTest::keyClick(picker, Qt::Key_Down);
        QCOMPARE(m_window->transferDateTime(), QDateTime(typed.addDays(-1), designedTimeOfDay));
    }

    void stockBalanceCheckEnablesPositiveStockWithoutTouchingItsMark()
    {
        QCheckBox* balance = m_window->chStokBakiye;
        QCheckBox* positive = m_window->ch_PozitifStok;
        showActive();
        QVERIFY(!positive->isEnabled());

        click(balance);
        QVERIFY(positive->isEnabled());
        QVERIFY(!positive->isChecked());
        click(positive);
        QVERIFY(positive->isChecked());

        click(balance);
        QVERIFY(!positive->isEnabled());
        QVERIFY(positive->isChecked());

        balance->setChecked(true);
        QVERIFY(positive->isEnabled());
        QVERIFY(positive->isChecked());
    }

    void aFailingHandlerIsShownAndTheWindowGoesOn()
    {
        FailingWindow window(*m_dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        m_dialogs->press(DialogButton::Ok).press(DialogButton::Ok);
        QTest::mouseClick(window.failing, Qt::LeftButton);
        QCOMPARE(m_dialogs->calls().size(), 1);
        const ScriptedDialogs::Call& shown = m_dialogs->lastCall();
        QCOMPARE(shown.kind, ScriptedDialogs::Kind::MessageBox);
        QCOMPARE(shown.caption, QApplication::applicationDisplayName());
        QCOMPARE(shown.text, u"Q_Grubu: Dataset not in edit or insert mode."_s);
        QCOMPARE(shown.icon, DialogIcon::Error);
        QCOMPARE(shown.buttons, DialogButtons::Ok);
        QCOMPARE(shown.parent.data(), &window);

        QVERIFY(window.isEnabled());
        QTest::mouseClick(window.failing, Qt::LeftButton);
        QCOMPARE(window.clicks, 2);
        QCOMPARE(m_dialogs->calls().size(), 2);
        click(window.chStokBakiye);
        QVERIFY(window.ch_PozitifStok->isEnabled());
    }

private:
    void showActive()
    {
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    // On the box itself: a check box takes clicks on its box and text only.
    static void click(QCheckBox* box)
    {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }

    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TL_Devir> m_window;
    QDate m_today;
};

UI_TEST(WindowBehaviourTest);

#include "WindowBehaviourTest.moc"
