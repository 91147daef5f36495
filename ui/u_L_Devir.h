#pragma once

#include "CarriedRows.h"
#include "DialogService.h"
#include "ErrorDisplay.h"
#include "ProgressBar.h"
#include "TargetBackup.h"

#include <QDateTime>
#include <QList>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

class GridBinding;
class Tdm;

class QCheckBox;
class QDateTimeEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;

// The window's file-open dialog: its settings and the file chosen last
// through it, offered again the next time.
struct FileOpenDialog {
    OpenDialogSettings settings;
    QString fileName;

    // Shows the dialog; true with fileName set to the chosen path, false when
    // the operator cancelled, leaving fileName as it was.
    bool execute(QWidget* owner, DialogService& dialogs);
};

// The main window L_Devir: the two database paths, the transfer buttons and
// options, the transfer date, the source and target grids and the progress bar.
class TL_Devir : public QWidget {
    Q_OBJECT

public:
    // The window with the platform's dialogs.
    explicit TL_Devir(QWidget* parent = nullptr);
    // The window with the given dialogs, which must outlive it.
    explicit TL_Devir(DialogService& dialogs, QWidget* parent = nullptr);
    ~TL_Devir() override;

    // The transfer date: the picker's date alone, at midnight, and with its
    // time of day.
    QDate transferDate() const;
    QDateTime transferDayStart() const;
    QDateTime transferDateTime() const;

    // Binds the six grids to the data module's data sources, and unbinds them
    // before the data module goes.
    void bindDataSources(Tdm& dataModule);
    void unbindDataSources();

    DialogService& dialogs() const { return *m_dialogs; }
    ErrorDisplay& errorDisplay() { return m_errorDisplay; }

    void FormCreate();
    void chStokBakiyeClick();

    // Choosing the source and the target database.
    void SpeedButton1Click();
    void SpeedButton2Click();
    // True when both paths are set and differ; otherwise the operator has been told why.
    bool MesajSet();

    // The three transfers: groups, stock cards, current accounts; they and
    // the opening entries below are in Transfers.cpp.
    void Button1Click();
    void Button2Click();
    void Button3Click();
    // The opening entry of the stock card and of the account just carried.
    void StokHareketAktar();
    void CariHareketAktar();

    // Ends the program as closing the window does (a signal asks for it): a
    // running transfer first stops at its next row boundary, without its
    // closing message; a dialog that is open is left as if cancelled.
    void requestEnd();

    // The controls, by the names the handlers use; owned by the window.
    QFrame* Panel1;
    QLabel* Label1;
    QLineEdit* edtKaynakDatabase;
    QPushButton* SpeedButton1;
    QLabel* Label2;
    QLineEdit* edtHedefDatabase;
    QPushButton* SpeedButton2;
    QLabel* Label3;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QCheckBox* ch_PozitifStok;
    QDateTimeEdit* DateTimePicker1;
    QCheckBox* chStokBakiye;

    QTabWidget* PageControl1;
    QWidget* tbGrubu;
    QWidget* tbStok;
    QWidget* tbCari;
    QTableView* DBGrid1;
    QTableView* DBGrid2;
    QTableView* DBGrid5;

    QTabWidget* PageControl2;
    QWidget* tbGrubu2;
    QWidget* tbStok2;
    QWidget* tbCari2;
    QTableView* DBGrid3;
    QTableView* DBGrid4;
    QTableView* DBGrid6;

    ProgressBar* ProgressBar1;
    // The status line under the bar: the last backup of the target.
    QLabel* lblYedek;

    FileOpenDialog OpenDialog1;

protected:
    void showEvent(QShowEvent* event) override;

    // Connects a signal to a handler of the window that runs through the
    // error display, so that whatever the handler raises is shown.
    template <typename Sender, typename Signal, typename Window>
    void connectHandler(Sender* sender, Signal signal, Window* window, void (Window::*handler)())
    {
        m_handlerConnections.append(connect(sender, signal, window, [this, window, handler] {
            m_errorDisplay.run([window, handler] { (window->*handler)(); });
        }));
    }

private:
    TL_Devir(std::unique_ptr<DialogService> ownDialogs, DialogService* dialogs, QWidget* parent);

    // Asks "Devam edilsin mi?" under the transfer's title; true when answered No.
    bool OnayVerilmedi(const QString& baslik);
    // An application message box with an empty caption and one OK button.
    void Bildir(const QString& mesaj);
    // After the confirmation: finds the source rows whose code the target
    // already holds and, where there are any, asks under the transfer's
    // title whether to carry only the missing ones (Yes), all again (No) or
    // nothing (Cancel: no value). The rows returned as in the target are
    // the ones to leave out.
    // Backs the target up before the session first writes into it, and
    // shows where in the status line; a failed backup stops the transfer.
    void hedefiYedekle();
    std::optional<CarriedRows> eksikleriSor(const QString& baslik, const korvat::DataSet& kaynak,
                                            const korvat::DataSet& hedef, const QString& kodSutunu);

    void createPanel();
    void createPages();
    void arrangeTabOrder();

    std::unique_ptr<DialogService> m_ownDialogs;
    DialogService* m_dialogs;
    ErrorDisplay m_errorDisplay;
    QList<QMetaObject::Connection> m_handlerConnections;
    std::vector<std::unique_ptr<GridBinding>> m_gridBindings;
    bool m_centred = false;
    // Midnight of the last transfer date asked for: making a local date-time
    // reads the time zone, which every stock entry would do again otherwise.
    mutable QDateTime m_dayStart;
    // The codes of the accounts whose opening entry the running account
    // transfer could not write, in order.
    QStringList m_failedEntryCodes;
    TargetBackup m_targetBackup;
};
