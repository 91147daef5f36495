#include "u_dm.h"

#include "Errors.h"

#include <QDir>
#include <QSettings>

Tdm* dm = nullptr;

namespace {

using namespace korvat;

const QString sourceDatabaseNameWhenCreated = QStringLiteral("D:\\Projeler\\Korvat\\KORVAT.FDB");

const QStringList connectionParams = {QStringLiteral("user_name=SYSDBA"),
                                      QStringLiteral("password=quietbolt")};

const QStringList targetTransactionParams = {QStringLiteral("read_committed"), QStringLiteral("rec_version"),
                                             QStringLiteral("nowait")};

// The client library is loaded when the server type of the first connection is
// applied; a failure then is a failure to read that setting.
std::shared_ptr<ClientLibrary> applyServerType(const QString& objectName, const QString& fileName)
{
    try {
        return ClientLibrary::load(fileName);
    } catch (const DataError& error) {
        throw SettingReadError(objectName, QStringLiteral("ServerType"), error.message());
    }
}

EditableDataSet::Settings editSettings(const schema::MasterTable& table, schema::EditStatements statements)
{
    return {QString::fromLatin1(table.name), std::move(statements), QString::fromLatin1(table.keyColumn),
            QString::fromLatin1(table.generator)};
}

}  // namespace

QString TdmSettings::defaultTargetDatabaseName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Korvat\\KORVAT.FDB");
#else
    return QDir::homePath() + QStringLiteral("/Korvat/KORVAT.FDB");
#endif
}

QString TdmSettings::defaultBackupFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Korvat\\Yedek");
#else
    return QDir::homePath() + QStringLiteral("/Korvat/Yedek");
#endif
}

int TdmSettings::configuredLocalServerPort()
{
    constexpr int firebirdPort = 3050;
    bool valid = false;
    const int port = QSettings(QStringLiteral("Korvat"), QStringLiteral("Korvat Devir"))
                         .value(QStringLiteral("YerelSunucuPortu"), firebirdPort)
                         .toInt(&valid);
    return valid && port > 0 && port < 65536 ? port : firebirdPort;
}

Tdm::Tdm(const TdmSettings& settings)
    : m_regionalSettings(settings.regionalSettings.value_or(RegionalSettings::fromSystem())),
      m_backupFolder(settings.backupFolder),
      IBDatabase1(QStringLiteral("IBDatabase1"),
                  applyServerType(QStringLiteral("IBDatabase1"), settings.clientLibraryFileName),
                  sourceDatabaseNameWhenCreated),
      qryStok(QStringLiteral("qryStok"), IBDatabase1, m_regionalSettings, schema::stok, schema::stokQuery()),
      qryStokSTOK_ID(qryStok.fieldObject(QStringLiteral("qryStokSTOK_ID"))),
      qryStokSTOK_ADI(qryStok.fieldObject(QStringLiteral("qryStokSTOK_ADI"))),
      qryStokSATIS_FIYATI(qryStok.fieldObject(QStringLiteral("qryStokSATIS_FIYATI"))),
      qryStokALIS_FIYATI(qryStok.fieldObject(QStringLiteral("qryStokALIS_FIYATI"))),
      qryStokGRUBU(qryStok.fieldObject(QStringLiteral("qryStokGRUBU"))),
      qryStokGRUBU_ID(qryStok.fieldObject(QStringLiteral("qryStokGRUBU_ID"))),
      qryStokEK_MENU(qryStok.fieldObject(QStringLiteral("qryStokEK_MENU"))),
      qryStokSTOK_KODU(qryStok.fieldObject(QStringLiteral("qryStokSTOK_KODU"))),
      qryStokSIRA_NO(qryStok.fieldObject(QStringLiteral("qryStokSIRA_NO"))),
      qryStokRESIM_YERI(qryStok.fieldObject(QStringLiteral("qryStokRESIM_YERI"))),
      qryStokBIRIM(qryStok.fieldObject(QStringLiteral("qryStokBIRIM"))),
      qryStokSTOK_TIPI(qryStok.fieldObject(QStringLiteral("qryStokSTOK_TIPI"))),
      qryStokSTOK_TIPI_ID(qryStok.fieldObject(QStringLiteral("qryStokSTOK_TIPI_ID"))),
      qryStokGIREN(qryStok.fieldObject(QStringLiteral("qryStokGIREN"))),
      qryStokCIKAN(qryStok.fieldObject(QStringLiteral("qryStokCIKAN"))),
      qryStokENVANTER(qryStok.fieldObject(QStringLiteral("qryStokENVANTER"))),
      qryStokAKTIFLIK(qryStok.fieldObject(QStringLiteral("qryStokAKTIFLIK"))),
      qryStokMALIYET(qryStok.fieldObject(QStringLiteral("qryStokMALIYET"))),
      qryStokSATIS_FIYATI_2(qryStok.fieldObject(QStringLiteral("qryStokSATIS_FIYATI_2"))),
      qryStokBARKOD(qryStok.fieldObject(QStringLiteral("qryStokBARKOD"))),
      qryStokKISA_YOL(qryStok.fieldObject(QStringLiteral("qryStokKISA_YOL"))),
      qryStokKDV(qryStok.fieldObject(QStringLiteral("qryStokKDV"))),
      qryStokSATIS_ISKONTO(qryStok.fieldObject(QStringLiteral("qryStokSATIS_ISKONTO"))),
      qryStokALIS_ISKONTO(qryStok.fieldObject(QStringLiteral("qryStokALIS_ISKONTO"))),
      qryStokA_KDV(qryStok.fieldObject(QStringLiteral("qryStokA_KDV"))),
      qryStokS_KDV(qryStok.fieldObject(QStringLiteral("qryStokS_KDV"))),
      qryStokSON_ALIS(qryStok.fieldObject(QStringLiteral("qryStokSON_ALIS"))),
      qryStokSON_SATIS(qryStok.fieldObject(QStringLiteral("qryStokSON_SATIS"))),
      qryStokACIKLAMA(qryStok.fieldObject(QStringLiteral("qryStokACIKLAMA"))),
      qryStokKAR_MARJI(qryStok.fieldObject(QStringLiteral("qryStokKAR_MARJI"))),
      qryStokYERLI_URUN_FT(qryStok.fieldObject(QStringLiteral("qryStokYERLI_URUN_FT"))),
      qryStokAGIRLIK_TIPI(qryStok.fieldObject(QStringLiteral("qryStokAGIRLIK_TIPI"))),
      qryStokTERAZI_PLU(qryStok.fieldObject(QStringLiteral("qryStokTERAZI_PLU"))),
      qryStokKRITIK_SEVIYE(qryStok.fieldObject(QStringLiteral("qryStokKRITIK_SEVIYE"))),
      qryStokBIRIM_AGIRLIK_FIYAT(qryStok.fieldObject(QStringLiteral("qryStokBIRIM_AGIRLIK_FIYAT"))),
      qryStokAGIRLIK(qryStok.fieldObject(QStringLiteral("qryStokAGIRLIK"))),
      qryStokKAPMANYA(qryStok.fieldObject(QStringLiteral("qryStokKAPMANYA"))),
      qryStokKMP_M(qryStok.fieldObject(QStringLiteral("qryStokKMP_M"))),
      qryStokKMP_M2(qryStok.fieldObject(QStringLiteral("qryStokKMP_M2"))),
      ds_qryStok(QStringLiteral("ds_qryStok"), qryStok),
      qryGrubu(QStringLiteral("qryGrubu"), IBDatabase1, m_regionalSettings, schema::grubu,
               schema::grubuQuery()),
      qryGrubuGRUBU_ID(qryGrubu.fieldObject(QStringLiteral("qryGrubuGRUBU_ID"))),
      qryGrubuGRUBU(qryGrubu.fieldObject(QStringLiteral("qryGrubuGRUBU"))),
      qryGrubuSIRA_NO(qryGrubu.fieldObject(QStringLiteral("qryGrubuSIRA_NO"))),
      qryGrubuKISA_YOL(qryGrubu.fieldObject(QStringLiteral("qryGrubuKISA_YOL"))),
      Ds_qryGrubu(QStringLiteral("Ds_qryGrubu"), qryGrubu),
      qryCari(QStringLiteral("qryCari"), IBDatabase1, m_regionalSettings, schema::cari, schema::cariQuery()),
      qryCariCARI_ID(qryCari.fieldObject(QStringLiteral("qryCariCARI_ID"))),
      qryCariCARI_KODU(qryCari.fieldObject(QStringLiteral("qryCariCARI_KODU"))),
      qryCariCARI_ADI(qryCari.fieldObject(QStringLiteral("qryCariCARI_ADI"))),
      qryCariTELEFON(qryCari.fieldObject(QStringLiteral("qryCariTELEFON"))),
      qryCariBORC(qryCari.fieldObject(QStringLiteral("qryCariBORC"))),
      qryCariALACAK(qryCari.fieldObject(QStringLiteral("qryCariALACAK"))),
      qryCariBAKIYE(qryCari.fieldObject(QStringLiteral("qryCariBAKIYE"))),
      qryCariTELEFON2(qryCari.fieldObject(QStringLiteral("qryCariTELEFON2"))),
      qryCariVERGI_NO(qryCari.fieldObject(QStringLiteral("qryCariVERGI_NO"))),
      qryCariVERGI_DAIRESI(qryCari.fieldObject(QStringLiteral("qryCariVERGI_DAIRESI"))),
      qryCariADRES(qryCari.fieldObject(QStringLiteral("qryCariADRES"))),
      qryCariADRES2(qryCari.fieldObject(QStringLiteral("qryCariADRES2"))),
      qryCariACIKLAMA(qryCari.fieldObject(QStringLiteral("qryCariACIKLAMA"))),
      qryCariAKTIFLIK(qryCari.fieldObject(QStringLiteral("qryCariAKTIFLIK"))),
      Ds_qryCari(QStringLiteral("Ds_qryCari"), qryCari),
      IBDatabase2(QStringLiteral("IBDatabase2"), IBDatabase1.sharedClient(), settings.defaultTarget),
      IBTransaction1(QStringLiteral("IBTransaction1"), IBDatabase1.sharedClient()),
      Q_Grubu(QStringLiteral("Q_Grubu"), IBDatabase2, IBTransaction1, m_regionalSettings, m_tableInfo,
              editSettings(schema::grubu, schema::grubuStatements())),
      Q_Stok(QStringLiteral("Q_Stok"), IBDatabase2, IBTransaction1, m_regionalSettings, m_tableInfo,
             editSettings(schema::stok, schema::stokStatements())),
      Ds_Q_Grubu(QStringLiteral("Ds_Q_Grubu"), Q_Grubu),
      Ds_Q_Stok(QStringLiteral("Ds_Q_Stok"), Q_Stok),
      qry(QStringLiteral("qry"), IBDatabase2, IBTransaction1, m_regionalSettings),
      Q_Cari(QStringLiteral("Q_Cari"), IBDatabase2, IBTransaction1, m_regionalSettings, m_tableInfo,
             editSettings(schema::cari, schema::cariStatements())),
      Ds_Q_Cari(QStringLiteral("Ds_Q_Cari"), Q_Cari)
{
    IBDatabase1.setParams(connectionParams);
    IBDatabase2.setParams(connectionParams);
    IBDatabase1.setLocalServerPort(settings.localServerPort);
    IBDatabase2.setLocalServerPort(settings.localServerPort);
    IBTransaction1.setParams(targetTransactionParams);

    settleReferences();
    completeCreation();
}

Tdm::~Tdm()
{
    // Members end in reverse order on their own: the target data sets and qry
    // close, IBTransaction1 ends by its default action, IBDatabase2 detaches,
    // the source queries close and IBDatabase1 ends its read transaction.
}

void Tdm::settleReferences()
{
    IBDatabase2.setDefaultTransaction(&IBTransaction1);
}

void Tdm::completeCreation()
{
    // IBDatabase2 is marked attached and IBTransaction1 active.
    IBDatabase2.open();
    IBTransaction1.start();
}

void Tdm::shutdown()
{
    std::exception_ptr firstFailure;
    auto keepFirst = [&firstFailure](std::exception_ptr failure) {
        if (!firstFailure)
            firstFailure = failure;
    };
    auto run = [&keepFirst](auto&& step) {
        try {
            step();
        } catch (...) {
            keepFirst(std::current_exception());
        }
    };

    Q_Cari.close();
    qry.close();
    Q_Stok.close();
    Q_Grubu.close();
    keepFirst(IBTransaction1.endByDefaultAction());
    run([this] { IBDatabase2.close(); });
    qryCari.close();
    qryGrubu.close();
    qryStok.close();
    run([this] { IBDatabase1.close(); });

    if (firstFailure)
        std::rethrow_exception(firstFailure);
}
