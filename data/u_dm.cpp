#include "u_dm.h"

#include "Errors.h"

#include <QDir>

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

}  // namespace

QString TdmSettings::defaultTargetDatabaseName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Korvat\\KORVAT.FDB");
#else
    return QDir::homePath() + QStringLiteral("/Korvat/KORVAT.FDB");
#endif
}

Tdm::Tdm(const TdmSettings& settings)
    : IBDatabase1(QStringLiteral("IBDatabase1"),
                  applyServerType(QStringLiteral("IBDatabase1"), settings.clientLibraryFileName),
                  sourceDatabaseNameWhenCreated),
      IBDatabase2(QStringLiteral("IBDatabase2"), IBDatabase1.sharedClient(), settings.defaultTarget),
      IBTransaction1(QStringLiteral("IBTransaction1"), IBDatabase1.sharedClient())
{
    IBDatabase1.setParams(connectionParams);
    IBDatabase2.setParams(connectionParams);
    IBTransaction1.setParams(targetTransactionParams);

    settleReferences();
    completeCreation();
}

Tdm::~Tdm()
{
    // Members end in reverse order on their own: IBTransaction1 by its default
    // action, then IBDatabase2, then IBDatabase1 with its read transaction.
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

    keepFirst(IBTransaction1.endByDefaultAction());
    run([this] { IBDatabase2.close(); });
    run([this] { IBDatabase1.close(); });

    if (firstFailure)
        std::rethrow_exception(firstFailure);
}
