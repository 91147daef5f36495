#include "ApplicationTitle.h"
#include "ScriptedDialogs.h"
#include "Translations.h"
#include "UiTest.h"
#include "u_L_Devir.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

Q_DECLARE_METATYPE(DialogButtons)
Q_DECLARE_METATYPE(DialogIcon)

namespace {

// HOME set to an empty folder of the test's own while this lives.
class TemporaryHome {
public:
    TemporaryHome() : m_hadHome(qEnvironmentVariableIsSet("HOME")), m_savedHome(qgetenv("HOME"))
    {
        qputenv("HOME", QFile::encodeName(m_folder.path()));
    }
    ~TemporaryHome()
    {
        if (m_hadHome)
            qputenv("HOME", m_savedHome);
        else
            qunsetenv("HOME");
    }
    QDir dir() const { return QDir(m_folder.path()); }

private:
    QTemporaryDir m_folder;
    bool m_hadHome;
    QByteArray m_savedHome;
};

// The toolkit's Turkish translations while this lives; every later test runs
// in English again.
class TurkishToolkit {
public:
    TurkishToolkit()
        : m_translator(installToolkitTranslations(*QCoreApplication::instance(),
                                                  QLocale(QLocale::Turkish, QLocale::Turkey)))
    {
    }
    ~TurkishToolkit()
    {
        QCoreApplication::removeTranslator(m_translator);
        delete m_translator;
    }
    QTranslator* translator() const { return m_translator; }

private:
    QTranslator* m_translator;
};

// A button's text as the operator reads it, without its mnemonic marker.
QString shownText(const QString& text)
{
    return QString(text).remove(QLatin1Char('&'));
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void scriptedDialogsAnswerInOrderAndRecordWhatWasShown()
    {
        ScriptedDialogs dialogs;
        dialogs.press(DialogButton::No).press(DialogButton::Ok).chooseFile(u"/db/a.fdb"_s);
        QWidget owner;

        QCOMPARE(dialogs.messageBox(&owner, u"Stok"_s, u"Devam edilsin mi?"_s, DialogButtons::YesNo,
                                    DialogIcon::None),
                 DialogButton::No);
        dialogs.showSimpleMessage(&owner, u"Lütfen"_s);
        QCOMPARE(dialogs.openFile(&owner, u"/db/old.fdb"_s, {}).value_or(QString()), u"/db/a.fdb"_s);

        QCOMPARE(dialogs.calls().size(), 3);
        const auto& calls = dialogs.calls();
        QCOMPARE(calls[0].caption, u"Stok"_s);
        QCOMPARE(calls[0].buttons, DialogButtons::YesNo);
        QCOMPARE(calls[1].kind, ScriptedDialogs::Kind::SimpleMessage);
        QCOMPARE(calls[1].caption, QApplication::applicationDisplayName());
        QCOMPARE(calls[1].text, QString::fromUtf8("Lütfen"));
        QCOMPARE(calls[2].kind, ScriptedDialogs::Kind::OpenFile);
        QCOMPARE(calls[2].text, u"/db/old.fdb"_s);
        QCOMPARE(dialogs.unansweredCount(), 0);
        QCOMPARE(dialogs.pendingAnswers(), 0);
    }

    // Each of these fails the running test on purpose, hence the expected failures.
    void unansweredMessageBoxFailsTheTestAndDeclines()
    {
        ScriptedDialogs dialogs;
        QEXPECT_FAIL("", "a box shown without a queued answer", Continue);
        const DialogButton answer = dialogs.messageBox(nullptr, QString(), u"Devam edilsin mi?"_s,
                                                       DialogButtons::YesNo, DialogIcon::None);
        QCOMPARE(answer, DialogButton::No);
        QCOMPARE(dialogs.unansweredCount(), 1);
    }

    void answerThatIsNotOneOfTheButtonsFailsTheTest()
    {
        ScriptedDialogs dialogs;
        dialogs.press(DialogButton::Yes);
        QEXPECT_FAIL("", "Yes pressed on an OK box", Continue);
        dialogs.showSimpleMessage(nullptr, u"Stoklar aktarıldı"_s);
        QCOMPARE(dialogs.unansweredCount(), 1);
    }

    void unansweredFileDialogFailsTheTestAndIsCancelled()
    {
        ScriptedDialogs dialogs;
        dialogs.press(DialogButton::Ok);
        QEXPECT_FAIL("", "a button queued for a file-open dialog", Continue);
        QVERIFY(!dialogs.openFile(nullptr, QString(), {}));
        QCOMPARE(dialogs.unansweredCount(), 1);
    }

    void messageBoxIsBuiltWithItsIconButtonsAndCaption_data()
    {
        QTest::addColumn<DialogButtons>("buttons");
        QTest::addColumn<DialogIcon>("icon");
        QTest::addColumn<QMessageBox::StandardButtons>("standard");
        QTest::addColumn<QMessageBox::Icon>("shownIcon");
        QTest::newRow("error") << DialogButtons::Ok << DialogIcon::Error
                               << QMessageBox::StandardButtons(QMessageBox::Ok) << QMessageBox::Critical;
        QTest::newRow("confirmation") << DialogButtons::YesNo << DialogIcon::None
                                      << (QMessageBox::Yes | QMessageBox::No) << QMessageBox::NoIcon;
        QTest::newRow("delete record") << DialogButtons::OkCancel << DialogIcon::None
                                       << (QMessageBox::Ok | QMessageBox::Cancel) << QMessageBox::NoIcon;
    }
    void messageBoxIsBuiltWithItsIconButtonsAndCaption()
    {
        QFETCH(DialogButtons, buttons);
        QFETCH(DialogIcon, icon);
        QFETCH(QMessageBox::StandardButtons, standard);
        QFETCH(QMessageBox::Icon, shownIcon);
        QWidget owner;
        const auto box =
            QtDialogService::createMessageBox(&owner, u"Cari"_s, u"Devam edilsin mi?"_s, buttons, icon);
        QCOMPARE(box->standardButtons(), standard);
        QCOMPARE(box->icon(), shownIcon);
        QCOMPARE(box->windowTitle(), u"Cari"_s);
        QCOMPARE(box->text(), u"Devam edilsin mi?"_s);
        QCOMPARE(box->parentWidget(), &owner);
        QCOMPARE(box->windowModality(), Qt::ApplicationModal);
    }

    void messageBoxWithoutCaptionIsTitledWithTheApplicationTitle()
    {
        const auto box = QtDialogService::createMessageBox(nullptr, QString(), u"Stoklar aktarıldı"_s,
                                                           DialogButtons::Ok, DialogIcon::None);
        QCOMPARE(box->windowTitle(), applicationTitle());
    }

    void messageBoxButtonsSpeakTurkishUnderTurkishLocale()
    {
        const TurkishToolkit turkish;
        QVERIFY(turkish.translator());
        QCOMPARE(turkish.translator()->parent(), QCoreApplication::instance());

        const auto box = [](DialogButtons buttons) {
            return QtDialogService::createMessageBox(nullptr, u"Stok"_s, u"Devam edilsin mi?"_s, buttons,
                                                     DialogIcon::None);
        };
        const auto yesNo = box(DialogButtons::YesNo);
        QCOMPARE(shownText(yesNo->button(QMessageBox::Yes)->text()), u"Evet"_s);
        QCOMPARE(shownText(yesNo->button(QMessageBox::No)->text()), u"Hayır"_s);
        const auto okCancel = box(DialogButtons::OkCancel);
        QCOMPARE(shownText(okCancel->button(QMessageBox::Ok)->text()), u"Tamam"_s);
        QCOMPARE(shownText(okCancel->button(QMessageBox::Cancel)->text()), u"İptal"_s);
        QCOMPARE(shownText(box(DialogButtons::Ok)->button(QMessageBox::Ok)->text()), u"Tamam"_s);
    }

    void fileDialogSpeaksTurkishUnderTurkishLocale()
    {
        const TurkishToolkit turkish;
        QVERIFY(turkish.translator());

        const auto dialog = QtDialogService::createFileDialog(nullptr, QString(), {});
        // The toolkit's own dialog, whose buttons can be read.
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        QCOMPARE(shownText(dialog->labelText(QFileDialog::Accept)), u"Aç"_s);
    }

    void boxClosedWithoutAButtonGivesTheNegativeAnswer()
    {
        QCOMPARE(QtDialogService::answerOf(QMessageBox::Yes, DialogButtons::YesNo), DialogButton::Yes);
        QCOMPARE(QtDialogService::answerOf(QMessageBox::No, DialogButtons::YesNo), DialogButton::No);
        QCOMPARE(QtDialogService::answerOf(QMessageBox::Ok, DialogButtons::OkCancel), DialogButton::Ok);
        QCOMPARE(QtDialogService::answerOf(QMessageBox::Cancel, DialogButtons::OkCancel),
                 DialogButton::Cancel);
        QCOMPARE(QtDialogService::answerOf(QMessageBox::NoButton, DialogButtons::YesNo), DialogButton::No);
        QCOMPARE(QtDialogService::answerOf(QMessageBox::NoButton, DialogButtons::OkCancel),
                 DialogButton::Cancel);
        QCOMPARE(QtDialogService::answerOf(QMessageBox::Escape, DialogButtons::Ok), DialogButton::Ok);
    }

    void fileDialogTakesAnyNameAndOffersTheLastOne()
    {
        const QString last = QDir::temp().absoluteFilePath(u"no-such-file.fdb"_s);
        const auto dialog = QtDialogService::createFileDialog(nullptr, last, OpenDialogSettings{});
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(dialog->fileMode(), QFileDialog::AnyFile);
        QCOMPARE(dialog->windowTitle(), QFileDialog().windowTitle());
        QCOMPARE(dialog->nameFilters(), QFileDialog().nameFilters());
        QVERIFY(dialog->isSizeGripEnabled());
        QCOMPARE(dialog->selectedFiles(), QStringList{last});

        OpenDialogSettings checking;
        checking.checkExistence = true;
        QCOMPARE(QtDialogService::createFileDialog(nullptr, QString(), checking)->fileMode(),
                 QFileDialog::ExistingFile);
    }

    void fileDialogOpensInTheLastFilesFolderRatherThanKorvat()
    {
        TemporaryHome home;
        QVERIFY(home.dir().mkpath(u"Korvat"_s));
        QVERIFY(home.dir().mkpath(u"yedek"_s));
        const QString last = home.dir().absoluteFilePath(u"yedek/KAYNAK.FDB"_s);
        const auto dialog = QtDialogService::createFileDialog(nullptr, last, {});
        QCOMPARE(dialog->directory().absolutePath(), home.dir().absoluteFilePath(u"yedek"_s));
    }

    void fileDialogWithoutALastFileOpensInKorvat()
    {
        TemporaryHome home;
        QVERIFY(home.dir().mkpath(u"Korvat"_s));
        const auto dialog = QtDialogService::createFileDialog(nullptr, QString(), {});
        QCOMPARE(dialog->directory().absolutePath(), home.dir().absoluteFilePath(u"Korvat"_s));
    }

    void fileDialogWithoutKorvatKeepsTheToolkitsFolder()
    {
        TemporaryHome home;
        const auto dialog = QtDialogService::createFileDialog(nullptr, QString(), {});
        QCOMPARE(dialog->directory(), QFileDialog().directory());
    }

    void openDialog1OffersTheFileChosenLastThroughIt()
    {
        ScriptedDialogs dialogs;
        TL_Devir window(dialogs);
        const OpenDialogSettings& settings = window.OpenDialog1.settings;
        QVERIFY(settings.filter.isEmpty() && settings.title.isEmpty());
        QVERIFY(!settings.checkExistence && settings.resizable);

        dialogs.chooseFile(u"/data/source.fdb"_s).cancelFile().chooseFile(u"/t.fdb"_s);
        QVERIFY(window.OpenDialog1.execute(&window, dialogs));
        QCOMPARE(window.OpenDialog1.fileName, u"/data/source.fdb"_s);
        QVERIFY(!window.OpenDialog1.execute(&window, dialogs));
        QCOMPARE(window.OpenDialog1.fileName, u"/data/source.fdb"_s);
        QVERIFY(window.OpenDialog1.execute(&window, dialogs));

        const auto& calls = dialogs.calls();
        QCOMPARE(calls.size(), 3);
        QCOMPARE(calls[0].text, QString());
        QCOMPARE(calls[1].text, u"/data/source.fdb"_s);
        QCOMPARE(calls[2].text, u"/data/source.fdb"_s);
        QCOMPARE(calls[2].parent.data(), &window);
        QVERIFY(calls[2].settings == settings);
    }
};

UI_TEST(DialogsTest);

#include "DialogsTest.moc"
