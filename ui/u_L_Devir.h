#pragma once

#include "DialogService.h"
#include "ErrorDisplay.h"

#include <QDateTime>
#include <QList>
#include <QWidget>
#include <memory>

class QCheckBox;
class QDateTimeEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
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

    // The transfer date: the picker's date alone, and with its time of day.
    QDate transferDate() const;
    QDateTime transferDateTime() const;

    DialogService& dialogs() const { return *m_dialogs; }
    ErrorDisplay& errorDisplay() { return m_errorDisplay; }

    void FormCreate();
    void chStokBakiyeClick();

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

    QProgressBar* ProgressBar1;

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

    void createPanel();
    void createPages();
    void arrangeTabOrder();

    std::unique_ptr<DialogService> m_ownDialogs;
    DialogService* m_dialogs;
    ErrorDisplay m_errorDisplay;
    QList<QMetaObject::Connection> m_handlerConnections;
    bool m_centred = false;
};
