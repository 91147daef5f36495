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

const QStringList targetTransactionParams = {QStringLiteral("read_committed"),
                                             QStringLiteral("rec_version"),
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

EditableDataSet::Settings editSettings(const schema::MasterTable& table,
                                       schema::EditStatements statements)
{
    return {QString::fromLatin1(table.name), std::move(statements),
            QString::fromLatin1(table.keyColumn), QString::fromLatin1(table.generator)};
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

int TdmSettings::configuredLocalServerPort()
{
    constexpr int firebirdPort = 3050;
    bool valid = false;
    const int port = QSettings(QStringLiteral("Korvat"), QStringLiteral("Korvat Devir"))
                         .value(QStringLiteral("YerelSunucuPortu"), firebirdPort)
                         .toInt(&valid);
    return valid && port > 0 && port < 65536 ? port : firebirdPort;
}

#define TDM_INIT_FIELD(query, column)                                                              \
    query##column(query.fieldObject(QStringLiteral(#query #column))),

Tdm::Tdm(const TdmSettings& settings)
    : m_regionalSettings(settings.regionalSettings.value_or(RegionalSettings::fromSystem())),
      IBDatabase1(QStringLiteral("IBDatabase1"),
                  applyServerType(QStringLiteral("IBDatabase1"), settings.clientLibraryFileName),
                  sourceDatabaseNameWhenCreated),
      qryStok(QStringLiteral("qryStok"), IBDatabase1, m_regionalSettings, schema::stok,
              schema::stokQuery()),
      TDM_QRYSTOK_FIELDS(TDM_INIT_FIELD)
      ds_qryStok(QStringLiteral("ds_qryStok"), qryStok),
      qryGrubu(QStringLiteral("qryGrubu"), IBDatabase1, m_regionalSettings, schema::grubu,
               schema::grubuQuery()),
      TDM_QRYGRUBU_FIELDS(TDM_INIT_FIELD)
      Ds_qryGrubu(QStringLiteral("Ds_qryGrubu"), qryGrubu),
      qryCari(QStringLiteral("qryCari"), IBDatabase1, m_regionalSettings, schema::cari,
              schema::cariQuery()),
      TDM_QRYCARI_FIELDS(TDM_INIT_FIELD)
      Ds_qryCari(QStringLiteral("Ds_qryCari"), qryCari),
      IBDatabase2(QStringLiteral("IBDatabase2"), IBDatabase1.sharedClient(), settings.defaultTarget),
      IBTransaction1(QStringLiteral("IBTransaction1"), IBDatabase1.sharedClient()),
      Q_Grubu(QStringLiteral("Q_Grubu"), IBDatabase2, IBTransaction1, m_regionalSettings,
              m_tableInfo, editSettings(schema::grubu, schema::grubuStatements())),
      Q_Stok(QStringLiteral("Q_Stok"), IBDatabase2, IBTransaction1, m_regionalSettings,
             m_tableInfo, editSettings(schema::stok, schema::stokStatements())),
      Ds_Q_Grubu(QStringLiteral("Ds_Q_Grubu"), Q_Grubu),
      Ds_Q_Stok(QStringLiteral("Ds_Q_Stok"), Q_Stok),
      qry(QStringLiteral("qry"), IBDatabase2, IBTransaction1, m_regionalSettings),
      Q_Cari(QStringLiteral("Q_Cari"), IBDatabase2, IBTransaction1, m_regionalSettings,
             m_tableInfo, editSettings(schema::cari, schema::cariStatements())),
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
