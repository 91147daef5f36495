#include "Connection.h"

#include <QFileInfo>

#include "ColumnValue.h"
#include "Errors.h"
#include "ParameterBlocks.h"
#include "Statement.h"

#include <algorithm>
#include <atomic>

namespace korvat {

namespace {

// The same file through the Firebird server on this machine.
QString localServerName(const QString& path, int port)
{
    return QStringLiteral("localhost/%1:%2").arg(port).arg(QFileInfo(path).absoluteFilePath());
}

const QStringList readTransactionParams = {QStringLiteral("read_committed"), QStringLiteral("rec_version"),
                                           QStringLiteral("nowait"), QStringLiteral("read")};

// The on-disk structure's version as the engine reports it: found major and
// minor, then the supported ones.
QString olderFileMessage(const QString& path, const QList<long>& versions)
{
    const QString found = versions.size() >= 2
                              ? QStringLiteral(" (disk yapısı %1.%2)").arg(versions[0]).arg(versions[1])
                              : QString();
    return QStringLiteral(
               "%1 dosyası Firebird'ün daha eski bir sürümüyle oluşturulmuş%2; bu programın Firebird 3 "
               "motoru onu açamıyor.\r\n"
               "Dosyayı, onu oluşturan Firebird sürümünün sunucusu üzerinden açın ya da o sürümün gbak "
               "programıyla yedeğini alıp bu sürümün gbak programıyla geri yükleyerek dönüştürün")
        .arg(QFileInfo(path).absoluteFilePath(), found);
}

LayerError databaseIsOpen()
{
    return LayerError(QStringLiteral("Cannot perform operation -- DB is currently open"));
}

}  // namespace

bool isLocalDatabaseName(const QString& name)
{
    return name.startsWith(QLatin1Char('/')) || !name.contains(QLatin1Char(':'));
}

Connection::Connection(QString objectName, std::shared_ptr<ClientLibrary> client, QString databaseName)
    : m_objectName(std::move(objectName)),
      m_client(client),
      m_databaseName(std::move(databaseName)),
      m_params(buildDatabaseParameterBlock),
      m_internalTransaction(m_objectName + QStringLiteral("InternalTransaction"), client),
      m_attachment(client)
{
    m_internalTransaction.setParams(readTransactionParams);
    m_internalTransaction.addDatabase(this);
}

Connection::~Connection()
{
    // Quietly: a destructor reports nothing. Orderly shutdown goes through close().
    closeAll(m_users);
    m_transactions.tellEach([](Transaction& transaction) { transaction.endByDefaultAction(); });
    m_attachment.reset();
    m_transactions.tellEach([this](Transaction& transaction) { transaction.removeDatabase(this); });
}

void Connection::setDatabaseName(const QString& name)
{
    if (name == m_databaseName)
        return;
    if (connected())
        throw databaseIsOpen();
    m_databaseName = name;
}

void Connection::setConnected(bool connected)
{
    if (connected)
        open();
    else
        close();
}

void Connection::open()
{
    if (connected())
        throw databaseIsOpen();
    if (m_databaseName.isEmpty())
        throw LayerError(QStringLiteral("Database name is missing"));

    StatusVector status;
    if (!tryAttach(m_databaseName, status) && !attachThroughLocalServer(status))
        raiseAttachFailure(status.get());

    m_characterSet = CharacterSet();
    try {
        m_databaseSqlDialect = readDatabaseSqlDialect();
        m_sqlDialect = std::min(preferredSqlDialect, m_databaseSqlDialect);
        m_characterSet = readDefaultCharacterSet();
    } catch (...) {
        forceClose();
        throw;
    }
}

bool Connection::tryAttach(const QString& name, StatusVector& status)
{
    const QByteArray& block = parameterBlock();
    const QByteArray encoded = encodeDatabaseName(name);
    m_client->isc_attach_database(status.get(), short(encoded.size()), encoded.constData(),
                                  m_attachment.address(), short(block.size()), block.constData());
    if (!status.failed()) {
        static std::atomic<quint64> attachments = 0;
        m_attachedName = name;
        m_attachmentNumber = ++attachments;
        return true;
    }
    m_attachment.forget();
    return false;
}

bool Connection::attachThroughLocalServer(StatusVector& status)
{
    if (!(ClientLibrary::statusContains(status.get(), isc_already_opened) ||
          ClientLibrary::statusContains(status.get(), isc_wrong_ods)) ||
        !isLocalDatabaseName(m_databaseName))
        return false;
    StatusVector throughServer;
    if (tryAttach(localServerName(m_databaseName, m_localServerPort), throughServer))
        return true;
    // Where no server answers, the embedded engine's own error says more.
    if (!ClientLibrary::statusContains(throughServer.get(), isc_network_error))
        status = throughServer;
    return false;
}

void Connection::raiseAttachFailure(const ISC_STATUS* status)
{
    try {
        m_client->check(status);
    } catch (const ServerError& error) {
        if (ClientLibrary::statusContains(status, isc_wrong_ods))
            throw OlderFileError(
                olderFileMessage(m_databaseName, ClientLibrary::statusNumbers(status, isc_wrong_ods)),
                error.sqlCode(), error.engineCode());
        if (ClientLibrary::statusContains(status, isc_already_opened))
            throw FileInUseError(error.message(), error.sqlCode(), error.engineCode());
        throw;
    }
    throw LayerError(QStringLiteral("The attach failed without an error"));  // not reached
}

int Connection::readDatabaseSqlDialect()
{
    const char items[] = {isc_info_db_sql_dialect, isc_info_end};
    char reply[32] = {};
    StatusVector status;
    m_client->isc_database_info(status.get(), m_attachment.address(), short(sizeof items), items,
                                short(sizeof reply), reply);
    check(status.get());

    // A database that does not answer the item predates dialects: dialect 1.
    return int(
        ClientLibrary::infoValue(QByteArrayView(reply, sizeof reply), isc_info_db_sql_dialect).value_or(1));
}

CharacterSet Connection::readDefaultCharacterSet()
{
    Transaction& reading = m_internalTransaction;
    const bool startedHere = !reading.inTransaction();
    if (startedHere)
        reading.start();
    Statement statement(*this, reading);
    statement.prepare(QStringLiteral("select rdb$character_set_name from rdb$database"));
    statement.execute();
    CharacterSet set;
    if (statement.fetch()) {
        const FieldValue name = readColumnValue(statement.output(), 0, FieldDef());
        if (const QString* text = std::get_if<QString>(&name))
            set = CharacterSet::named(*text);
    }
    statement.closeCursor();
    if (startedHere)
        reading.commit();
    return set;
}

QByteArray Connection::encodeStatementText(const QString& text)
{
    QByteArray bytes;
    if (m_characterSet.isUtf8() && m_characterSet.encode(text, bytes))
        return bytes;
    return m_codePage.encode(text);
}

void Connection::close()
{
    if (!connected())
        return;

    closeAll(m_users);

    std::exception_ptr failedCommit;
    m_transactions.tellEach([&failedCommit](Transaction& transaction) {
        std::exception_ptr failure = transaction.endByDefaultAction();
        if (!failedCommit)
            failedCommit = failure;
    });

    // A lost connection may already have been closed by the failed commit.
    if (connected()) {
        StatusVector status;
        m_client->isc_detach_database(status.get(), m_attachment.address());
        if (status.failed()) {
            try {
                check(status.get());
            } catch (...) {
                if (connected())
                    throw;  // still attached: the server refused the detach
            }
        }
        m_attachment.forget();
    }

    if (failedCommit)
        std::rethrow_exception(failedCommit);
}

void Connection::setDefaultTransaction(Transaction* transaction)
{
    m_defaultTransaction = transaction;
    if (transaction)
        transaction->addDatabase(this);
}

Transaction& Connection::transactionForUsers()
{
    return m_defaultTransaction ? *m_defaultTransaction : m_internalTransaction;
}

void Connection::removeTransaction(Transaction* transaction)
{
    m_transactions.remove(transaction);
    if (m_defaultTransaction == transaction)
        m_defaultTransaction = nullptr;
}

void Connection::check(const ISC_STATUS* status)
{
    try {
        m_client->check(status);
    } catch (const ConnectionLostError&) {
        forceClose();
        throw;
    }
}

void Connection::forceClose() noexcept
{
    closeAll(m_users);
    m_transactions.tellEach([](Transaction& transaction) { transaction.dropLostHandle(); });
    // Frees the client's side of the attachment; the server is not reached.
    m_attachment.reset();
}

}  // namespace korvat
