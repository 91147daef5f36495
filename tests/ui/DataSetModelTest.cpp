#include "DataSetModel.h"
#include "GridBinding.h"
#include "TestWorkspace.h"
#include "UiTest.h"
#include "u_dm.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>
#include <deque>
#include <memory>

using namespace korvat;
using namespace korvat::test;

namespace {

constexpr int sourceGroups = 60;
constexpr int targetGroups = 3;

// Columns of DBGrid1 and DBGrid3: GRUBU_ID, GRUBU, SIRA_NO, KISA_YOL.
constexpr int idColumn = 0;
constexpr int nameColumn = 1;
constexpr int orderColumn = 2;

QString messageOf(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const DataError& dataError) {
        return dataError.message();
    } catch (...) {
        return u"<not a data error>"_s;
    }
}

// The target's groups opened, in a model as DBGrid3 shows them whose every
// change a model tester checks.
struct TargetGroupsModel : DataSetModel {
    explicit TargetGroupsModel(EditableDataSet& groups)
        : DataSetModel((groups.open(), groups), DBGrid3Columns())
    {
    }
    QAbstractItemModelTester tester{this, QAbstractItemModelTester::FailureReportingMode::QtTest};
};

// The cells of one model row as the grid shows them.
QStringList rowText(const QAbstractItemModel& model, int row)
{
    QStringList cells;
    for (int c = 0; c < model.columnCount(); ++c)
        cells << model.index(row, c).data().toString();
    return cells;
}

}  // namespace

class DataSetModelTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestWorkspace> m_workspace;
    QStringList m_errors;
    QStringList m_questions;
    std::deque<bool> m_answers;

    Tdm& dm() { return *m_workspace->dataModule; }

    void openSourceGroups() { m_workspace->attachSource().qryGrubu.open(); }

    DataSetModel::ErrorHandler errorCollector()
    {
        return [this](std::exception_ptr error) { m_errors << messageOf(error); };
    }

    GridActions actions()
    {
        return {errorCollector(), [this](const QString& question) {
                    m_questions << question;
                    if (m_answers.empty())
                        return false;
                    const bool answer = m_answers.front();
                    m_answers.pop_front();
                    return answer;
                }};
    }

    // A small grid on screen: a few rows fit, far fewer than the source holds.
    std::unique_ptr<QTableView> shownView()
    {
        auto view = std::make_unique<QTableView>();
        view->resize(420, 160);
        view->show();
        if (!QTest::qWaitForWindowExposed(view.get()))
            qWarning("grid not exposed");
        return view;
    }

    // Lets the view's delayed layout and fetching run to rest.
    static void settle()
    {
        for (int i = 0; i < 5; ++i)
            QTest::qWait(10);
    }

    // A grid on screen bound as the window binds DBGrid1 to the source's
    // groups or DBGrid3 to the target's, the groups opened once it is shown.
    struct ShownGrid {
        std::unique_ptr<QTableView> view;
        std::unique_ptr<GridBinding> binding;
        DataSetModel& model;
    };
    ShownGrid shownGrid(bool source)
    {
        auto view = shownView();
        if (source)
            openSourceGroups();
        else
            dm().Q_Grubu.open();
        auto binding = std::make_unique<GridBinding>(view.get(), source ? dm().Ds_qryGrubu : dm().Ds_Q_Grubu,
                                                     source ? DBGrid1Columns() : DBGrid3Columns(), actions());
        DataSetModel& model = *binding->model();
        return {std::move(view), std::move(binding), model};
    }
    ShownGrid sourceGrid() { return shownGrid(true); }
    ShownGrid targetGrid() { return shownGrid(false); }

private slots:
    void init()
    {
        m_workspace = std::make_unique<TestWorkspace>();
        {
            TestDatabase source = m_workspace->createSource();
            for (int id = 1; id <= sourceGroups; ++id)
                addGroup(source, id, {{u"GRUBU"_s, u"Grup %1"_s.arg(id)}, {u"SIRA_NO"_s, id * 10}});
            TestDatabase target = m_workspace->createTarget();
            addGroups(target, targetGroups, u"Hedef");
            target.setGenerator(QString::fromLatin1(kGrubuGenerator), 100);
        }
        m_workspace->createDataModule();
        m_errors.clear();
        m_questions.clear();
        m_answers.clear();
    }

    void cleanup() { m_workspace.reset(); }

    void aWalkedAndClosedQueryKeepsTheModelConsistent()
    {
        openSourceGroups();
        DataSetModel model(dm().qryGrubu, DBGrid1Columns());
        model.setBatchSize([] { return 3; });
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);

        QCOMPARE(model.columnCount(), 4);
        QCOMPARE(model.headerData(nameColumn, Qt::Horizontal).toString(), u"GRUBU"_s);
        // The tester itself asks for more rows, a batch at a time.
        QCOMPARE(model.rowCount(), dm().qryGrubu.recordCount());
        QVERIFY(model.rowCount() < sourceGroups);

        dm().qryGrubu.first();
        while (!dm().qryGrubu.eof())
            dm().qryGrubu.next();
        QCOMPARE(model.rowCount(), sourceGroups);
        QVERIFY(!model.canFetchMore({}));
        QCOMPARE(rowText(model, 41), (QStringList{u"42"_s, u"Grup 42"_s, u"420"_s, QString()}));
        QCOMPARE(model.headerData(sourceGroups - 1, Qt::Vertical).toString(), DataSetModel::browseMark);
        QCOMPARE(model.headerData(sourceGroups - 2, Qt::Vertical).toString(), QString());

        QSignalSpy moved(&model, &DataSetModel::currentRowMoved);
        dm().qryGrubu.close();
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 4);
        QVERIFY(!model.canFetchMore({}));
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved[0][0].toInt(), -1);

        dm().qryGrubu.open();
        QCOMPARE(model.rowCount(), dm().qryGrubu.rowsShown());
        QCOMPARE(model.index(0, idColumn).data().toString(), u"1"_s);
    }

    void walkingAnnouncesEachNewRowAloneWithoutAReset()
    {
        openSourceGroups();
        DataSetModel model(dm().qryGrubu, DBGrid1Columns());
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        QSignalSpy marks(&model, &QAbstractItemModel::headerDataChanged);

        for (int step = 1; step <= 10; ++step)
            dm().qryGrubu.next();

        QCOMPARE(inserted.count(), 10);
        for (int i = 0; i < inserted.count(); ++i) {
            QCOMPARE(inserted[i][1].toInt(), i + 1);
            QCOMPARE(inserted[i][2].toInt(), i + 1);
        }
        QCOMPARE(resets.count(), 0);
        // Only the row left and the row reached are repainted in the indicator.
        QCOMPARE(marks.count(), 20);
        QCOMPARE(marks.last()[1].toInt(), 10);
        QCOMPARE(marks.last()[2].toInt(), 10);
        QCOMPARE(model.headerData(10, Qt::Vertical).toString(), DataSetModel::browseMark);
        QCOMPARE(model.headerData(9, Qt::Vertical).toString(), QString());
    }

    void fetchMoreTakesOneBatchAndAnnouncesItOnce()
    {
        openSourceGroups();
        DataSetModel model(dm().qryGrubu, DBGrid1Columns());
        model.setBatchSize([] { return 7; });
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

        QVERIFY(model.canFetchMore({}));
        model.fetchMore({});
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted[0][1].toInt(), 1);
        QCOMPARE(inserted[0][2].toInt(), 7);
        QCOMPARE(dm().qryGrubu.recordCount(), 8);
        QCOMPARE(model.rowCount(), 8);
        QCOMPARE(dm().qryGrubu.currentRow(), 0);

        while (model.canFetchMore({}))
            model.fetchMore({});
        QCOMPARE(model.rowCount(), sourceGroups);
        QCOMPARE(inserted.count(), 9);
    }

    void aShownGridFetchesItsRowsAtOpeningAndMoreWhenScrolled()
    {
        auto view = shownView();
        GridBinding binding(view.get(), dm().Ds_qryGrubu, DBGrid1Columns(), actions());
        openSourceGroups();

        const int fetched = dm().qryGrubu.recordCount();
        const int rowHeight = view->verticalHeader()->defaultSectionSize();
        const int fit = (view->viewport()->height() + rowHeight - 1) / rowHeight;
        QVERIFY2(fetched >= fit && fetched <= fit + 1,
                 qPrintable(u"%1 rows fetched, %2 fit"_s.arg(fetched).arg(fit)));
        QCOMPARE(binding.model()->rowCount(), fetched);
        // The view finds its rows there and asks for no more until scrolled.
        settle();
        QCOMPARE(dm().qryGrubu.recordCount(), fetched);

        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
        settle();
        QVERIFY(dm().qryGrubu.recordCount() > fetched);
        QVERIFY(dm().qryGrubu.recordCount() < sourceGroups);
        QCOMPARE(binding.model()->rowCount(), dm().qryGrubu.recordCount());
    }

    void aGridOnAPageNotShownFetchesWhatThePageWillShow()
    {
        QTabWidget pages;
        QWidget* shown = new QWidget;
        QWidget* hidden = new QWidget;
        pages.addTab(shown, u"Cari"_s);
        pages.addTab(hidden, u"Grubu"_s);
        auto* layout = new QVBoxLayout(hidden);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* view = new QTableView;
        layout->addWidget(view);
        pages.resize(420, 260);
        pages.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pages));
        GridBinding binding(view, dm().Ds_qryGrubu, DBGrid1Columns(), actions());

        openSourceGroups();
        const int fetched = dm().qryGrubu.recordCount();
        QVERIFY(fetched > 1 && fetched < sourceGroups);

        // Once the page shows, the grid's real size agrees with what was fetched for it.
        pages.setCurrentWidget(hidden);
        settle();
        QCOMPARE(dm().qryGrubu.recordCount(), fetched);
        const int rowHeight = view->verticalHeader()->defaultSectionSize();
        const int fit = (view->viewport()->height() + rowHeight - 1) / rowHeight;
        QVERIFY2(fetched >= fit && fetched <= fit + 1,
                 qPrintable(u"%1 rows fetched, %2 fit"_s.arg(fetched).arg(fit)));
    }

    void aGridWithoutAListShowsEveryFieldOnlyWhileOpen()
    {
        DataSetModel model(dm().Q_Cari, {});
        QCOMPARE(model.columnCount(), 0);

        dm().Q_Cari.open();
        const QStringList columns = tableDef(QString::fromLatin1(kCariTable)).columnNames();
        QCOMPARE(model.columnCount(), columns.size());
        for (int c = 0; c < model.columnCount(); ++c) {
            QCOMPARE(model.headerData(c, Qt::Horizontal).toString(), columns[c]);
            QCOMPARE(model.columnWidth(c), 0);
        }

        dm().Q_Cari.close();
        QCOMPARE(model.columnCount(), 0);
        QCOMPARE(model.rowCount(), 0);
    }

    void listedColumnsKeepTheirWidthsAndAMissingFieldStaysEmpty()
    {
        static constexpr GridColumn columns[] = {{"GRUBU", 120}, {"YOK_ALAN", 0}};
        QTableView view;
        GridBinding binding(&view, dm().Ds_Q_Grubu, columns, actions());
        const QHeaderView* titles = view.horizontalHeader();
        QCOMPARE(titles->sectionSize(0), 120);
        QCOMPARE(titles->sectionSize(1), titles->defaultSectionSize());
        QCOMPARE(titles->sectionResizeMode(0), QHeaderView::Interactive);

        dm().Q_Grubu.open();
        const DataSetModel& model = *binding.model();
        QCOMPARE(titles->sectionSize(0), 120);
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), u"YOK_ALAN"_s);
        QCOMPARE(model.index(0, 0).data().toString(), u"Hedef 1"_s);
        QVERIFY(!model.index(0, 1).data().isValid());
        QVERIFY(!(model.flags(model.index(0, 1)) & Qt::ItemIsEditable));
    }

    void sourceGridsNeitherEditNorDelete()
    {
        auto [view, binding, model] = sourceGrid();
        const int rows = model.rowCount();

        QVERIFY(!(model.flags(model.index(0, nameColumn)) & Qt::ItemIsEditable));
        QVERIFY(!model.setData(model.index(0, nameColumn), u"Yeni"_s));
        QCOMPARE(model.index(0, nameColumn).data().toString(), u"Grup 1"_s);

        m_answers = {true};
        QTest::keyClick(view.get(), Qt::Key_Delete, Qt::ControlModifier);
        QVERIFY(m_questions.isEmpty());
        QCOMPARE(model.rowCount(), rows);
        QVERIFY(m_errors.isEmpty());
        m_answers.clear();
    }

    void anAppendedRowShowsTheInsertMarkUntilItIsPosted()
    {
        TargetGroupsModel model(dm().Q_Grubu);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

        dm().Q_Grubu.append();
        QCOMPARE(model.rowCount(), targetGroups + 1);
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted[0][1].toInt(), targetGroups);
        QCOMPARE(model.headerData(targetGroups, Qt::Vertical).toString(), DataSetModel::insertMark);
        QCOMPARE(model.headerData(0, Qt::Vertical).toString(), QString());
        QCOMPARE(rowText(model, targetGroups), QStringList(4, QString()));
        // The rows above still show their own values, not the new row's.
        QCOMPARE(model.index(0, nameColumn).data().toString(), u"Hedef 1"_s);

        dm().Q_Grubu.fieldByName(u"GRUBU").setAsString(u"Yeni grup"_s);
        QCOMPARE(model.index(targetGroups, nameColumn).data().toString(), u"Yeni grup"_s);
        QVERIFY(!changed.isEmpty());
        QCOMPARE(changed.last()[0].toModelIndex().row(), targetGroups);

        dm().Q_Grubu.post();
        QCOMPARE(model.rowCount(), targetGroups + 1);
        QCOMPARE(model.headerData(targetGroups, Qt::Vertical).toString(), DataSetModel::browseMark);
        QCOMPARE(model.index(targetGroups, idColumn).data().toString(), u"101"_s);
        QCOMPARE(inserted.count(), 1);
    }

    void typedTextIsSetThroughTheFieldAndABadOneReported()
    {
        dm().Q_Grubu.open();
        dm().Q_Grubu.fetchAll();
        DataSetModel model(dm().Q_Grubu, DBGrid3Columns());
        model.setErrorHandler(errorCollector());
        const QModelIndex order = model.index(1, orderColumn);

        QVERIFY(model.flags(order) & Qt::ItemIsEditable);
        QVERIFY(!model.setData(order, u"abc"_s));
        QCOMPARE(m_errors, QStringList{u"'abc' is not a valid integer value for field 'SIRA_NO'"_s});
        QCOMPARE(order.data().toString(), QString());

        // An editor closed on the text it opened with changes nothing.
        QVERIFY(model.setData(model.index(2, nameColumn), u"Hedef 3"_s));
        QCOMPARE(dm().Q_Grubu.currentRow(), 2);
        QCOMPARE(dm().Q_Grubu.state(), DataSetState::Browse);

        QVERIFY(model.setData(order, u"12"_s));
        QCOMPARE(m_errors.size(), 1);
        QCOMPARE(dm().Q_Grubu.state(), DataSetState::Edit);
        QCOMPARE(dm().Q_Grubu.currentRow(), 1);
        QCOMPARE(model.headerData(1, Qt::Vertical).toString(), DataSetModel::editMark);
        QCOMPARE(order.data().toString(), u"12"_s);
    }

    void theViewFollowsTheDataSetAndTheDataSetTheView()
    {
        auto [view, binding, model] = sourceGrid();
        settle();
        QCOMPARE(view->currentIndex().row(), 0);

        for (int step = 0; step < 30; ++step)
            dm().qryGrubu.next();
        QCOMPARE(view->currentIndex().row(), 30);
        QVERIFY(view->viewport()->rect().contains(view->visualRect(view->currentIndex())));

        view->setCurrentIndex(model.index(4, nameColumn));
        QCOMPARE(dm().qryGrubu.currentRow(), 4);
        QCOMPARE(dm().qryGrubu.fieldByName(u"GRUBU").asString(), u"Grup 5"_s);
        QVERIFY(m_errors.isEmpty());
    }

    void aViewFollowingLaterCatchesUpAfterItsDelayOrWhenTheModeEnds()
    {
        auto [view, binding, model] = sourceGrid();
        settle();

        binding->setFollowingLater(true);
        for (int step = 0; step < 10; ++step)
            dm().qryGrubu.next();
        QCoreApplication::processEvents();
        QCOMPARE(view->currentIndex().row(), 0);
        QTest::qWait(GridBinding::catchUpDelayMs + 100);
        QCOMPARE(view->currentIndex().row(), 10);

        dm().qryGrubu.next();
        binding->setFollowingLater(false);
        QCOMPARE(view->currentIndex().row(), 11);
        dm().qryGrubu.next();
        QCOMPARE(view->currentIndex().row(), 12);
        QCOMPARE(dm().qryGrubu.currentRow(), 12);
    }

    void heldRowsAreShownAtOnceAndADroppedOneNever()
    {
        TargetGroupsModel model(dm().Q_Grubu);
        QSignalSpy held(&model, &DataSetModel::rowsHeld);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

        model.setHoldingRows(true);
        for (int i = 0; i < 3; ++i) {
            dm().Q_Grubu.append();
            dm().Q_Grubu.post();
        }
        dm().Q_Grubu.append();
        dm().Q_Grubu.cancel();  // never shown, so never removed from the views
        QCOMPARE(model.rowCount(), targetGroups);
        QCOMPARE(held.count(), 1);

        model.showHeldRows();
        QCOMPARE(model.rowCount(), targetGroups + 3);
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(model.index(targetGroups + 2, idColumn).data().toString(), u"103"_s);

        dm().Q_Grubu.append();
        model.setHoldingRows(false);
        QCOMPARE(model.rowCount(), targetGroups + 4);
        QCOMPARE(model.headerData(targetGroups + 3, Qt::Vertical).toString(), DataSetModel::insertMark);
    }

    void movingToAnotherRowInTheViewPostsTheEditedRow()
    {
        auto [view, binding, model] = targetGrid();

        QVERIFY(model.setData(model.index(0, nameColumn), u"Değişti"_s));
        QCOMPARE(dm().Q_Grubu.state(), DataSetState::Edit);

        view->setCurrentIndex(model.index(1, nameColumn));
        QCOMPARE(dm().Q_Grubu.state(), DataSetState::Browse);
        QCOMPARE(dm().Q_Grubu.currentRow(), 1);
        QCOMPARE(model.headerData(0, Qt::Vertical).toString(), QString());
        QCOMPARE(model.headerData(1, Qt::Vertical).toString(), DataSetModel::browseMark);

        dm().IBTransaction1.commit();
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(m_workspace->committedValue(u"select GRUBU from T_GRUBU where GRUBU_ID = 1"_s).toString(),
                 u"Değişti"_s);
        QVERIFY(m_errors.isEmpty());
    }

    void aFailedPostKeepsTheViewOnThePendingRow()
    {
        auto [view, binding, model] = targetGrid();

        dm().Q_Grubu.append();
        QCOMPARE(view->currentIndex().row(), targetGroups);
        // The key of the first row again: the server refuses the insert.
        QVERIFY(model.setData(model.index(targetGroups, idColumn), u"1"_s));

        view->setCurrentIndex(model.index(0, idColumn));
        QCOMPARE(m_errors.size(), 1);
        QCOMPARE(dm().Q_Grubu.state(), DataSetState::Insert);
        QCOMPARE(dm().Q_Grubu.currentRow(), targetGroups);
        QTRY_COMPARE(view->currentIndex().row(), targetGroups);
        QCOMPARE(model.headerData(targetGroups, Qt::Vertical).toString(), DataSetModel::insertMark);
    }

    void keyDownBelowTheLastRowAppendsOneNewRow()
    {
        auto [view, binding, model] = targetGrid();
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);

        QTest::keyClick(view.get(), Qt::Key_Down);
        QCOMPARE(dm().Q_Grubu.currentRow(), 1);
        QCOMPARE(dm().Q_Grubu.state(), DataSetState::Browse);

        view->setCurrentIndex(model.index(targetGroups - 1, idColumn));
        QTest::keyClick(view.get(), Qt::Key_Down);
        QCOMPARE(dm().Q_Grubu.state(), DataSetState::Insert);
        QCOMPARE(model.rowCount(), targetGroups + 1);
        QCOMPARE(view->currentIndex().row(), targetGroups);
        QCOMPARE(model.headerData(targetGroups, Qt::Vertical).toString(), DataSetModel::insertMark);

        // A blank new row gets no second one below it, nor is it replaced.
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QTest::keyClick(view.get(), Qt::Key_Down);
        QCOMPARE(model.rowCount(), targetGroups + 1);
        QCOMPARE(removed.count(), 0);

        // Leaving the blank row drops it.
        QTest::keyClick(view.get(), Qt::Key_Up);
        QCOMPARE(dm().Q_Grubu.state(), DataSetState::Browse);
        QCOMPARE(model.rowCount(), targetGroups);
        QCOMPARE(view->currentIndex().row(), targetGroups - 1);
        QVERIFY(m_errors.isEmpty());
    }

    void aRowEnteredBelowTheLastIsInsertedWithAGeneratorKey()
    {
        auto [view, binding, model] = targetGrid();

        view->setCurrentIndex(model.index(targetGroups - 1, idColumn));
        QTest::keyClick(view.get(), Qt::Key_Down);
        QVERIFY(model.setData(model.index(targetGroups, nameColumn), u"Yeni Grup"_s));
        QTest::keyClick(view.get(), Qt::Key_Up);  // leaving the row posts it
        QCOMPARE(dm().Q_Grubu.state(), DataSetState::Browse);
        QCOMPARE(model.data(model.index(targetGroups, idColumn)).toString(), u"101"_s);

        dm().IBTransaction1.commitRetaining();
        QCOMPARE(m_workspace->committedValue(u"select GRUBU from T_GRUBU where GRUBU_ID = 101"_s).toString(),
                 u"Yeni Grup"_s);
        QVERIFY(m_errors.isEmpty());
    }

    void keyDownOnTheLastFetchedRowFetchesTheNext()
    {
        auto [view, binding, model] = sourceGrid();
        settle();
        const int fetched = dm().qryGrubu.recordCount();
        QVERIFY(fetched < sourceGroups);

        view->setCurrentIndex(model.index(fetched - 1, idColumn));
        QTest::keyClick(view.get(), Qt::Key_Down);
        QCOMPARE(dm().qryGrubu.currentRow(), fetched);
        QVERIFY(dm().qryGrubu.recordCount() > fetched);
        QCOMPARE(view->currentIndex().row(), fetched);
    }

    void ctrlDeleteAsksAndDeletesOnlyOnOk()
    {
        auto [view, binding, model] = targetGrid();
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        view->setCurrentIndex(model.index(1, nameColumn));

        m_answers = {false};
        QTest::keyClick(view.get(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(m_questions, QStringList{u"Delete record?"_s});
        QCOMPARE(model.rowCount(), targetGroups);
        QCOMPARE(removed.count(), 0);

        m_answers = {true};
        QTest::keyClick(view.get(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(m_questions.size(), 2);
        QCOMPARE(model.rowCount(), targetGroups - 1);
        QCOMPARE(removed.count(), 1);
        QCOMPARE(removed[0][1].toInt(), 1);
        QCOMPARE(removed[0][2].toInt(), 1);
        // The row below takes the deleted one's place, in the data set and in the view.
        QCOMPARE(dm().Q_Grubu.currentRow(), 1);
        QCOMPARE(view->currentIndex().row(), 1);
        QCOMPARE(model.index(1, nameColumn).data().toString(), u"Hedef 3"_s);
        QCOMPARE(model.headerData(1, Qt::Vertical).toString(), DataSetModel::browseMark);
        QVERIFY(m_errors.isEmpty());

        dm().IBTransaction1.commit();
        QCOMPARE(m_workspace->committedCount(u"T_GRUBU"_s), qint64(targetGroups - 1));
        QVERIFY(m_workspace->committed(u"select 1 from T_GRUBU where GRUBU_ID = 2"_s).isEmpty());
    }

    void theDataSetStaysPutWhileADeletedRowLeavesTheView()
    {
        {
            TestDatabase target = m_workspace->attachTarget();
            addGroups(target, 40 - targetGroups, u"Hedef", targetGroups + 1);
        }
        auto [view, binding, model] = targetGrid();
        settle();
        // No model tester here: it fetches rows itself whenever the model signals.
        const int fetched = dm().Q_Grubu.recordCount();
        QVERIFY(fetched >= 3 && !dm().Q_Grubu.allFetched());

        const int deleted = fetched - 2;
        view->setCurrentIndex(model.index(deleted, nameColumn));
        QSignalSpy moves(&model, &DataSetModel::currentRowMoved);
        m_answers = {true};
        QTest::keyClick(view.get(), Qt::Key_Delete, Qt::ControlModifier);

        // The view moving its current index off the removed row is not the
        // operator's move: the data set goes nowhere but to the row that
        // takes the deleted one's place.
        QCOMPARE(moves.count(), 1);
        QCOMPARE(moves[0][0].toInt(), deleted);
        QCOMPARE(model.rowCount(), dm().Q_Grubu.rowsShown());
        QCOMPARE(dm().Q_Grubu.currentRow(), deleted);
        QCOMPARE(view->currentIndex().row(), deleted);
        QCOMPARE(model.index(deleted, idColumn).data().toString(), QString::number(deleted + 2));
        QVERIFY(m_errors.isEmpty());
    }

    void unbindingLeavesTheViewEmptyAndTheDataSetUnobserved()
    {
        auto view = std::make_unique<QTableView>();
        dm().Q_Grubu.open();
        {
            GridBinding binding(view.get(), dm().Ds_Q_Grubu, DBGrid3Columns(), actions());
            QCOMPARE(view->model()->rowCount(), dm().Q_Grubu.rowsShown());
        }
        QVERIFY(view->model() == nullptr || view->model()->rowCount() == 0);
        // Would reach a destroyed model if the binding still observed the data set.
        dm().Q_Grubu.append();
        dm().Q_Grubu.close();
    }
};

UI_TEST(DataSetModelTest);

#include "DataSetModelTest.moc"
