#include "u_L_Devir.h"
#include "TransferGuard.h"

#include "GridBinding.h"
#include "GridColumns.h"
#include "PathIdentity.h"
#include "u_dm.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QDir>
#include <QFontDatabase>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr QSize clientSize(842, 587);
constexpr QColor skyBlue(166, 202, 240);
constexpr int panelHeight = 167;
constexpr int sourcePagesHeight = 190;
constexpr int progressBarHeight = 17;

// The picker's value as the window was designed; FormCreate replaces the date,
// the time of day stays with the picker for good.
QDateTime initialTransferDateTime()
{
    return QDateTime(QDate(2025, 2, 3), QTime(21, 57, 33, 446));
}

// Tahoma where installed; otherwise the faces closest to it in width (the
// panel's controls have fixed sizes), then the system's own sans-serif.
QFont windowFont()
{
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setFamily(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    for (const char* family : {"Tahoma", "Liberation Sans", "Arial", "DejaVu Sans", "Verdana"}) {
        if (QFontDatabase::hasFamily(QString::fromLatin1(family))) {
            font.setFamily(QString::fromLatin1(family));
            break;
        }
    }
    font.setPointSize(8);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    return font;
}

// Only the weight is set, the rest comes from the window's font.
void makeBold(QWidget* widget)
{
    QFont bold;
    bold.setBold(true);
    widget->setFont(bold);
}

template <typename Widget> Widget* newControl(QWidget* parent, const char* name)
{
    auto widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

template <typename Widget>
Widget* place(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto widget = newControl<Widget>(parent, name);
    widget->setGeometry(left, top, width, height);
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const QRect& geometry, const QString& text)
{
    auto widget =
        place<QLabel>(parent, name, geometry.x(), geometry.y(), geometry.width(), geometry.height());
    widget->setText(text);
    widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return widget;
}

QLineEdit* pathEdit(QWidget* parent, const char* name, int top)
{
    auto edit = place<QLineEdit>(parent, name, 153, top, 488, 21);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Midlight));
    edit->setPalette(palette);
    return edit;
}

QPushButton* browseButton(QWidget* parent, const char* name, int top)
{
    auto button = place<QPushButton>(parent, name, 647, top, 23, 22);
    button->setText(QStringLiteral("?"));
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QPushButton* transferButton(QWidget* parent, const char* name, int left, const QString& text)
{
    auto button = place<QPushButton>(parent, name, left, 82, 75, 25);
    button->setText(text);
    makeBold(button);
    return button;
}

QTableView* grid(QWidget* page, const char* name)
{
    auto view = newControl<QTableView>(page, name);
    view->horizontalHeader()->setFont(windowFont());
    auto layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    return view;
}

QWidget* page(QTabWidget* pages, const char* name, const QString& text)
{
    auto widget = newControl<QWidget>(pages, name);
    pages->addTab(widget, text);
    return widget;
}

}  // namespace

bool FileOpenDialog::execute(QWidget* owner, DialogService& dialogs)
{
    const std::optional<QString> chosen = dialogs.openFile(owner, fileName, settings);
    if (!chosen)
        return false;
    fileName = *chosen;
    return true;
}

TL_Devir::TL_Devir(QWidget* parent) : TL_Devir(std::make_unique<QtDialogService>(), nullptr, parent)
{
}

TL_Devir::TL_Devir(DialogService& dialogs, QWidget* parent) : TL_Devir(nullptr, &dialogs, parent)
{
}

TL_Devir::TL_Devir(std::unique_ptr<DialogService> ownDialogs, DialogService* dialogs, QWidget* parent)
    : QWidget(parent),
      m_ownDialogs(std::move(ownDialogs)),
      m_dialogs(dialogs ? dialogs : m_ownDialogs.get()),
      m_errorDisplay(*m_dialogs, this)
{
    setObjectName(QStringLiteral("L_Devir"));
    setWindowTitle(QStringLiteral("Korvat Devir Programı "));
    setFont(windowFont());
    QPalette sky = palette();
    sky.setColor(QPalette::Window, skyBlue);
    setPalette(sky);
    setAutoFillBackground(true);
    resize(clientSize);

    createPanel();
    createPages();

    ProgressBar1 = newControl<ProgressBar>(this, "ProgressBar1");
    ProgressBar1->setMaximumPosition(100);
    ProgressBar1->setPosition(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedHeight(progressBarHeight);
    lblYedek = newControl<QLabel>(this, "lblYedek");
    lblYedek->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblYedek->hide();  // until the first backup

    auto areas = new QVBoxLayout(this);
    areas->setContentsMargins(0, 0, 0, 0);
    areas->setSpacing(0);
    areas->addWidget(Panel1);
    areas->addWidget(PageControl1);
    areas->addWidget(PageControl2, 1);
    areas->addWidget(ProgressBar1);
    areas->addWidget(lblYedek);

    arrangeTabOrder();
    connectHandler(chStokBakiye, &QCheckBox::toggled, this, &TL_Devir::chStokBakiyeClick);
    connectHandler(SpeedButton1, &QPushButton::clicked, this, &TL_Devir::SpeedButton1Click);
    connectHandler(SpeedButton2, &QPushButton::clicked, this, &TL_Devir::SpeedButton2Click);
    connectHandler(Button1, &QPushButton::clicked, this, &TL_Devir::Button1Click);
    connectHandler(Button2, &QPushButton::clicked, this, &TL_Devir::Button2Click);
    connectHandler(Button3, &QPushButton::clicked, this, &TL_Devir::Button3Click);

    FormCreate();
}

TL_Devir::~TL_Devir()
{
    unbindDataSources();
    // The children outlive the members; no handler may run once the dialogs are gone.
    for (const QMetaObject::Connection& connection : std::as_const(m_handlerConnections))
        disconnect(connection);
}

void TL_Devir::createPanel()
{
    Panel1 = newControl<QFrame>(this, "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setFixedHeight(panelHeight);

    Label1 = label(Panel1, "Label1", QRect(24, 29, 105, 13), QStringLiteral("Kaynak Database :"));
    makeBold(Label1);
    edtKaynakDatabase = pathEdit(Panel1, "edtKaynakDatabase", 21);
    SpeedButton1 = browseButton(Panel1, "SpeedButton1", 20);

    Label2 = label(Panel1, "Label2", QRect(24, 56, 96, 13), QStringLiteral("Hedef Database :"));
    makeBold(Label2);
    edtHedefDatabase = pathEdit(Panel1, "edtHedefDatabase", 48);
    SpeedButton2 = browseButton(Panel1, "SpeedButton2", 48);

    Label3 = label(Panel1, "Label3", QRect(445, 80, 61, 13), QStringLiteral("Devir Tarihi :"));

    Button1 = transferButton(Panel1, "Button1", 24, QStringLiteral("Grubu Aktar"));
    Button2 = transferButton(Panel1, "Button2", 105, QStringLiteral("Stok Aktar"));
    Button3 = transferButton(Panel1, "Button3", 186, QStringLiteral("Cari Aktar"));

    ch_PozitifStok = place<QCheckBox>(Panel1, "ch_PozitifStok", 24, 136, 373, 14);
    ch_PozitifStok->setText(
        QStringLiteral("Pozitif Stokların bakiyesini aktar(Sıfır ve negatifleri stok kartı olarak aktarır)"));
    ch_PozitifStok->setEnabled(false);

    DateTimePicker1 = place<QDateTimeEdit>(Panel1, "DateTimePicker1", 512, 72, 97, 21);
    // The format comes first: a date-only format set later would drop the time of day.
    DateTimePicker1->setDisplayFormat(QLocale::system().dateFormat(QLocale::ShortFormat));
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setDateTime(initialTransferDateTime());

    chStokBakiye = place<QCheckBox>(Panel1, "chStokBakiye", 24, 113, 373, 17);
    chStokBakiye->setText(QStringLiteral("Stok bakiyesini aktar"));

    // Where a face wider than Tahoma stands in, a text may need more room
    // than its designed width; a clipped caption would be worse than a
    // slightly wider control, and none of these has a neighbour to its right.
    for (QWidget* text :
         {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2), static_cast<QWidget*>(Label3),
          static_cast<QWidget*>(ch_PozitifStok), static_cast<QWidget*>(chStokBakiye)})
        text->resize(std::max(text->width(), text->sizeHint().width()), text->height());
    // The transfer buttons stand 6 pixels apart; each may take up to that gap.
    for (QPushButton* button : {Button1, Button2, Button3}) {
        const int needed = button->fontMetrics().horizontalAdvance(button->text()) +
                           2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin);
        button->resize(std::clamp(needed, button->width(), button->width() + 6), button->height());
    }
}

void TL_Devir::createPages()
{
    PageControl1 = newControl<QTabWidget>(this, "PageControl1");
    PageControl1->setFixedHeight(sourcePagesHeight);
    tbGrubu = page(PageControl1, "tbGrubu", QStringLiteral("Grubu"));
    tbStok = page(PageControl1, "tbStok", QStringLiteral("Stok"));
    tbCari = page(PageControl1, "tbCari", QStringLiteral("Cari"));
    DBGrid1 = grid(tbGrubu, "DBGrid1");
    DBGrid2 = grid(tbStok, "DBGrid2");
    DBGrid5 = grid(tbCari, "DBGrid5");
    PageControl1->setCurrentWidget(tbCari);

    PageControl2 = newControl<QTabWidget>(this, "PageControl2");
    tbGrubu2 = page(PageControl2, "tbGrubu2", QStringLiteral("Grubu"));
    tbStok2 = page(PageControl2, "tbStok2", QStringLiteral("Stok"));
    tbCari2 = page(PageControl2, "tbCari2", QStringLiteral("Cari"));
    DBGrid3 = grid(tbGrubu2, "DBGrid3");
    DBGrid4 = grid(tbStok2, "DBGrid4");
    DBGrid6 = grid(tbCari2, "DBGrid6");
    PageControl2->setCurrentWidget(tbCari2);
}

void TL_Devir::arrangeTabOrder()
{
    // The panel's controls, then the source pages, the progress bar (which
    // takes no focus) and the target pages. Each grid follows its tab bar by
    // creation, which tying it here as well would only disturb.
    const QList<QWidget*> order = {edtKaynakDatabase, edtHedefDatabase, Button1,         Button2,
                                   Button3,           ch_PozitifStok,   DateTimePicker1, chStokBakiye,
                                   PageControl1,      ProgressBar1,     PageControl2};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void TL_Devir::requestEnd()
{
    if (auto* transfer = findChild<TransferGuard*>(QString(), Qt::FindDirectChildrenOnly))
        transfer->stopAtNextRow();
    // Every event loop ends, the modal ones of open dialogs too; a transfer
    // goes on to its next row boundary first, since it runs in a handler.
    QCoreApplication::exit(0);
}

void TL_Devir::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_centred || !isWindow())
        return;
    m_centred = true;
    if (const QScreen* desktop = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(desktop->availableGeometry().center());
        move(frame.topLeft());
    }
}

QDate TL_Devir::transferDate() const
{
    return DateTimePicker1->date();
}

QDateTime TL_Devir::transferDayStart() const
{
    const QDate date = transferDate();
    if (m_dayStart.date() != date || !m_dayStart.isValid())
        m_dayStart = QDateTime(date, QTime(0, 0));
    return m_dayStart;
}

QDateTime TL_Devir::transferDateTime() const
{
    return DateTimePicker1->dateTime();
}

void TL_Devir::FormCreate()
{
    // setDate keeps the time of day the picker holds.
    DateTimePicker1->setDate(QDate::currentDate());
}

void TL_Devir::chStokBakiyeClick()
{
    // Only enabled or not: a check mark set while enabled stays, greyed.
    ch_PozitifStok->setEnabled(chStokBakiye->isChecked());
}

void TL_Devir::SpeedButton1Click()
{
    if (!OpenDialog1.execute(this, dialogs()))
        return;
    edtKaynakDatabase->setText(OpenDialog1.fileName);
    dm->IBDatabase1.setConnected(false);  // its queries close, its read transaction ends
    dm->IBDatabase1.setDatabaseName(edtKaynakDatabase->text());
    dm->IBDatabase1.setConnected(true);
    dm->qryStok.open();  // starts the source read transaction
    dm->qryCari.open();
    dm->qryGrubu.open();
}

void TL_Devir::SpeedButton2Click()
{
    if (!OpenDialog1.execute(this, dialogs()))
        return;
    edtHedefDatabase->setText(OpenDialog1.fileName);
    dm->IBDatabase2.setConnected(false);  // commits what was posted to the previous target
    dm->IBDatabase2.setDatabaseName(edtHedefDatabase->text());
    dm->IBDatabase2.setConnected(true);
    dm->IBTransaction1.setActive(true);
    dm->Q_Grubu.open();
    dm->Q_Stok.open();
    dm->Q_Cari.open();
}

bool TL_Devir::MesajSet()
{
    // A path counts as set only when it is the database its button attached:
    // a typed path would let the transfer work on another file than it shows.
    const QString kaynak = edtKaynakDatabase->text();
    const QString hedef = edtHedefDatabase->text();
    if (kaynak.isEmpty() || hedef.isEmpty() || !isAttachedAs(dm->IBDatabase1, kaynak) ||
        !isAttachedAs(dm->IBDatabase2, hedef)) {
        dialogs().showSimpleMessage(this, QStringLiteral("Lütfen kaynak ve hedef database yi set ediniz"));
        return false;
    }
    if (kaynak == hedef || isSameFile(kaynak, hedef)) {
        Bildir(QStringLiteral("Kaynak ve hedef farklı olmalıdır!"));
        return false;
    }
    return true;
}

bool TL_Devir::OnayVerilmedi(const QString& baslik)
{
    return dialogs().messageBox(this, baslik, QStringLiteral("Devam edilsin mi?"), DialogButtons::YesNo,
                                DialogIcon::None) == DialogButton::No;
}

std::optional<CarriedRows> TL_Devir::eksikleriSor(const QString& baslik, const korvat::DataSet& kaynak,
                                                  const korvat::DataSet& hedef, const QString& kodSutunu)
{
    CarriedRows rows(kaynak, hedef, kodSutunu);
    if (rows.alreadyInTarget() == 0)
        return rows;
    const QLocale locale = QLocale::system();
    const QString question =
        QStringLiteral("Hedefte aynı kodla zaten olan kayıt sayısı: %1 (aktarılacak: %2).\n"
                       "Evet: yalnız eksikler aktarılır.\n"
                       "Hayır: hepsi yeniden aktarılır.\n"
                       "İptal: hiçbir şey aktarılmaz.")
            .arg(locale.toString(rows.alreadyInTarget()), locale.toString(rows.toCarry()));
    switch (dialogs().messageBox(this, baslik, question, DialogButtons::YesNoCancel, DialogIcon::None)) {
    case DialogButton::Yes: return rows;
    case DialogButton::No: rows.carryAll(); return rows;
    default: return std::nullopt;
    }
}

void TL_Devir::hedefiYedekle()
{
    const QString written =
        m_targetBackup.ensure(dm->IBDatabase2, dm->backupFolder(), QDateTime::currentDateTime());
    if (written.isEmpty())
        return;
    lblYedek->setText(QStringLiteral("Son yedek: %1").arg(QDir::toNativeSeparators(written)));
    lblYedek->show();
}

void TL_Devir::Bildir(const QString& mesaj)
{
    ProgressBar1->showPosition();  // a transfer's bar may be drawn later
    dialogs().messageBox(this, QString(), mesaj, DialogButtons::Ok, DialogIcon::None);
}

void TL_Devir::bindDataSources(Tdm& dataModule)
{
    unbindDataSources();
    GridActions actions;
    actions.showError = [this](std::exception_ptr error) { m_errorDisplay.show(error); };
    actions.confirm = [this](const QString& question) {
        return dialogs().messageBox(this, QStringLiteral("Confirm"), question, DialogButtons::OkCancel,
                                    DialogIcon::None) == DialogButton::Ok;
    };
    const std::pair<QTableView*, const korvat::DataSource*> grids[] = {
        {DBGrid1, &dataModule.Ds_qryGrubu}, {DBGrid2, &dataModule.ds_qryStok},
        {DBGrid5, &dataModule.Ds_qryCari},  {DBGrid3, &dataModule.Ds_Q_Grubu},
        {DBGrid4, &dataModule.Ds_Q_Stok},   {DBGrid6, &dataModule.Ds_Q_Cari},
    };
    for (const auto& [view, source] : grids)
        m_gridBindings.push_back(
            std::make_unique<GridBinding>(view, *source, gridColumns(view->objectName()), actions));
}

void TL_Devir::unbindDataSources()
{
    m_gridBindings.clear();
}
