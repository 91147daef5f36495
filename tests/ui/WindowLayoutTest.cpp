#include "ScriptedDialogs.h"
#include "UiTest.h"
#include "u_L_Devir.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QFontDatabase>
#include <QFrame>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStandardItemModel>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

namespace {

QWidget* control(TL_Devir& window, const QString& name)
{
    return window.findChild<QWidget*>(name);
}

}  // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_window = std::make_unique<TL_Devir>(m_dialogs);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    void windowHasItsCaptionSizeColourAndFont()
    {
        QCOMPARE(m_window->objectName(), u"L_Devir"_s);
        QCOMPARE(m_window->windowTitle(), QString::fromUtf8("Korvat Devir Programı "));
        QCOMPARE(m_window->size(), QSize(842, 587));
        QVERIFY(m_window->autoFillBackground());
        QCOMPARE(m_window->palette().color(QPalette::Window), QColor(166, 202, 240));
        const QFont font = m_window->font();
        QCOMPARE(font.pointSize(), 8);
        QVERIFY(!font.bold() && !font.italic());
        if (QFontDatabase::hasFamily(u"Tahoma"_s))
            QCOMPARE(font.family(), u"Tahoma"_s);
        else
            QVERIFY(QFontDatabase::hasFamily(font.family()));
    }

    void windowIsResizableAndCentredWhenFirstShown()
    {
        QVERIFY(m_window->minimumHeight() < 587 && m_window->maximumHeight() > 587);
        QVERIFY(m_window->minimumWidth() < 842 && m_window->maximumWidth() > 842);
        const QPoint centre = m_window->screen()->availableGeometry().center();
        QVERIFY((m_window->frameGeometry().center() - centre).manhattanLength() <= 2);
    }

    void panelControls_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("enabled");

        auto row = [](const char* name, const char* className, QRect geometry, const char* text, bool bold,
                      bool enabled = true) {
            QTest::newRow(name) << QString::fromLatin1(className) << geometry << QString::fromUtf8(text)
                                << bold << enabled;
        };
        row("Label1", "QLabel", {24, 29, 105, 13}, "Kaynak Database :", true);
        row("edtKaynakDatabase", "QLineEdit", {153, 21, 488, 21}, "", false);
        row("SpeedButton1", "QPushButton", {647, 20, 23, 22}, "?", false);
        row("Label2", "QLabel", {24, 56, 96, 13}, "Hedef Database :", true);
        row("edtHedefDatabase", "QLineEdit", {153, 48, 488, 21}, "", false);
        row("SpeedButton2", "QPushButton", {647, 48, 23, 22}, "?", false);
        row("Label3", "QLabel", {445, 80, 61, 13}, "Devir Tarihi :", false);
        row("Button1", "QPushButton", {24, 82, 75, 25}, "Grubu Aktar", true);
        row("Button2", "QPushButton", {105, 82, 75, 25}, "Stok Aktar", true);
        row("Button3", "QPushButton", {186, 82, 75, 25}, "Cari Aktar", true);
        row("ch_PozitifStok", "QCheckBox", {24, 136, 373, 14},
            "Pozitif Stokların bakiyesini aktar(Sıfır ve negatifleri stok kartı olarak aktarır)", false,
            false);
        row("DateTimePicker1", "QDateTimeEdit", {512, 72, 97, 21}, nullptr, false);
        row("chStokBakiye", "QCheckBox", {24, 113, 373, 17}, "Stok bakiyesini aktar", false);
    }
    void panelControls()
    {
        QFETCH(QString, className);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        QFETCH(bool, bold);
        QFETCH(bool, enabled);

        QWidget* widget = control(*m_window, QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(widget);
        QCOMPARE(widget->parentWidget(), m_window->Panel1);
        QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
        // Designed at Tahoma's widths: another face may widen a caption, never move it.
        QCOMPARE(widget->pos(), geometry.topLeft());
        QCOMPARE(widget->height(), geometry.height());
        if (widget->font().family() == u"Tahoma"_s || widget->inherits("QLineEdit") ||
            widget->inherits("QDateTimeEdit") || text == u"?"_s)
            QCOMPARE(widget->width(), geometry.width());
        else
            QVERIFY(widget->width() >= geometry.width());
        if (!text.isNull())
            QCOMPARE(widget->property("text").toString(), text);
        QCOMPARE(widget->font().bold(), bold);
        QCOMPARE(widget->font().pointSize(), 8);
        QCOMPARE(widget->font().family(), m_window->font().family());
        QCOMPARE(widget->isEnabled(), enabled);
        // Every text readable in full at its fixed size, whatever face stood in for Tahoma.
        if (!text.isEmpty()) {
            // A push button's hint holds the style's minimum width; its text is what must fit.
            const int needed = widget->inherits("QPushButton")
                                   ? widget->fontMetrics().horizontalAdvance(text) +
                                         2 * widget->style()->pixelMetric(QStyle::PM_ButtonMargin)
                                   : widget->sizeHint().width();
            QVERIFY2(needed <= widget->width(), qPrintable(u"%1 needs %2 pixels in %3 (%4)"_s.arg(text)
                                                               .arg(needed)
                                                               .arg(widget->width())
                                                               .arg(widget->font().family())));
        }
    }

    void panelControlSettings()
    {
        for (QLineEdit* edit : {m_window->edtKaynakDatabase, m_window->edtHedefDatabase}) {
            QVERIFY(!edit->isReadOnly());
            QCOMPARE(edit->palette().color(QPalette::Base), m_window->palette().color(QPalette::Midlight));
        }
        QCOMPARE(m_window->SpeedButton1->focusPolicy(), Qt::NoFocus);
        QCOMPARE(m_window->SpeedButton2->focusPolicy(), Qt::NoFocus);
        QVERIFY(!m_window->chStokBakiye->isChecked());
        QVERIFY(!m_window->ch_PozitifStok->isChecked());
        QVERIFY(m_window->DateTimePicker1->calendarPopup());
    }

    void areasAreStackedWithTheirHeights()
    {
        QCOMPARE(m_window->Panel1->geometry(), QRect(0, 0, 842, 167));
        QCOMPARE(m_window->PageControl1->geometry(), QRect(0, 167, 842, 190));
        QCOMPARE(m_window->PageControl2->geometry(), QRect(0, 357, 842, 213));
        QCOMPARE(m_window->ProgressBar1->geometry(), QRect(0, 570, 842, 17));
    }

    void resizingChangesOnlyTheTargetPagesHeight_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("larger") << QSize(1000, 700);
        QTest::newRow("smaller") << QSize(700, 500);
    }
    void resizingChangesOnlyTheTargetPagesHeight()
    {
        QFETCH(QSize, size);
        m_window->resize(size);
        QTRY_COMPARE(m_window->ProgressBar1->geometry(), QRect(0, size.height() - 17, size.width(), 17));
        QCOMPARE(m_window->Panel1->geometry(), QRect(0, 0, size.width(), 167));
        QCOMPARE(m_window->PageControl1->geometry(), QRect(0, 167, size.width(), 190));
        QCOMPARE(m_window->PageControl2->geometry(), QRect(0, 357, size.width(), size.height() - 357 - 17));
    }

    void progressBarRunsFromZeroToHundredWithoutText()
    {
        QCOMPARE(m_window->ProgressBar1->minimum(), 0);
        QCOMPARE(m_window->ProgressBar1->maximum(), 100);
        QCOMPARE(m_window->ProgressBar1->value(), 0);
        QVERIFY(!m_window->ProgressBar1->isTextVisible());
    }

    void tabbedSetsHoldOneGridPerPageAndOpenOnCari()
    {
        struct Page {
            QTabWidget* set;
            QWidget* page;
            const char* name;
            const char* tab;
            QTableView* grid;
            const char* gridName;
        };
        const TL_Devir& w = *m_window;
        const Page pages[] = {
            {w.PageControl1, w.tbGrubu, "tbGrubu", "Grubu", w.DBGrid1, "DBGrid1"},
            {w.PageControl1, w.tbStok, "tbStok", "Stok", w.DBGrid2, "DBGrid2"},
            {w.PageControl1, w.tbCari, "tbCari", "Cari", w.DBGrid5, "DBGrid5"},
            {w.PageControl2, w.tbGrubu2, "tbGrubu2", "Grubu", w.DBGrid3, "DBGrid3"},
            {w.PageControl2, w.tbStok2, "tbStok2", "Stok", w.DBGrid4, "DBGrid4"},
            {w.PageControl2, w.tbCari2, "tbCari2", "Cari", w.DBGrid6, "DBGrid6"},
        };
        for (int i = 0; i < 6; ++i) {
            const Page& p = pages[i];
            QCOMPARE(p.set->indexOf(p.page), i % 3);
            QCOMPARE(p.page->objectName(), QString::fromLatin1(p.name));
            QCOMPARE(p.set->tabText(i % 3), QString::fromLatin1(p.tab));
            QCOMPARE(p.grid->objectName(), QString::fromLatin1(p.gridName));
            QCOMPARE(p.grid->parentWidget(), p.page);
            QCOMPARE(p.grid->horizontalHeader()->font().pointSize(), 8);
            QVERIFY(!p.grid->horizontalHeader()->font().bold());
            QVERIFY(!p.grid->verticalHeader()->isHidden());
        }
        QCOMPARE(w.PageControl1->count(), 3);
        QCOMPARE(w.PageControl2->count(), 3);
        QCOMPARE(w.PageControl1->currentWidget(), w.tbCari);
        QCOMPARE(w.PageControl2->currentWidget(), w.tbCari2);
        QCOMPARE(w.DBGrid5->geometry(), w.tbCari->rect());
        QCOMPARE(w.DBGrid6->geometry(), w.tbCari2->rect());

        // Columns appear with the data; the operator may size every one of them.
        QStandardItemModel fields(0, 3);
        w.DBGrid5->setModel(&fields);
        QCOMPARE(w.DBGrid5->horizontalHeader()->sectionResizeMode(2), QHeaderView::Interactive);
    }

    void tabOrderFollowsThePanelThenSourceAndTargetPages()
    {
        TL_Devir& w = *m_window;
        const QList<QWidget*> expected = {
            w.edtKaynakDatabase, w.edtHedefDatabase, w.Button1,      w.Button2, w.Button3, w.ch_PozitifStok,
            w.DateTimePicker1,   w.chStokBakiye,     w.PageControl1, w.DBGrid1, w.DBGrid2, w.DBGrid5,
            w.PageControl2,      w.DBGrid3,          w.DBGrid4,      w.DBGrid6};
        // A tabbed set takes focus through its tab bar.
        auto named = [&](QWidget* widget) -> QWidget* {
            if (auto bar = qobject_cast<QTabBar*>(widget))
                return bar->parentWidget();
            return expected.contains(widget) ? widget : nullptr;
        };
        QList<QWidget*> chain;
        QWidget* widget = w.edtKaynakDatabase;
        do {
            if (QWidget* found = named(widget); found && !chain.contains(found))
                chain.append(found);
            widget = widget->nextInFocusChain();
        } while (widget != w.edtKaynakDatabase);
        QCOMPARE(chain, expected);
        QCOMPARE(w.ProgressBar1->focusPolicy(), Qt::NoFocus);
    }

private:
    ScriptedDialogs m_dialogs;
    std::unique_ptr<TL_Devir> m_window;
};

UI_TEST(WindowLayoutTest);

#include "WindowLayoutTest.moc"
