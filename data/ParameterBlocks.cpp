#include "ParameterBlocks.h"

#include "AnsiCodePage.h"
#include "Errors.h"

#include <ibase.h>

#include <QtEndian>
#include <array>

namespace korvat {

namespace {

struct SplitLine {
    QString name;
    QString value;
};

// "name=value" or a bare name; the name in lower case without its prefix.
SplitLine splitLine(const QString& line, QLatin1StringView prefix)
{
    SplitLine split;
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    split.name = (equals < 0 ? line : line.left(equals)).trimmed().toLower();
    if (equals >= 0)
        split.value = line.mid(equals + 1);
    if (split.name.startsWith(prefix))
        split.name.remove(0, prefix.size());
    return split;
}

void appendCounted(QByteArray& block, const QByteArray& bytes, const QString& what)
{
    if (bytes.size() > 255)
        throw LayerError(QStringLiteral("Parameter value too long for %1").arg(what));
    block.append(char(bytes.size()));
    block.append(bytes);
}

// The transaction constants in their standard order: each name stands for its
// position in the list, counting from 1.
constexpr std::array<const char*, 23> transactionConstantNames = {
    "consistency",      "concurrency",  "shared",         "protected",   "exclusive",   "wait",
    "nowait",           "read",         "write",          "lock_read",   "lock_write",  "verb_time",
    "commit_time",      "ignore_limbo", "read_committed", "autocommit",  "rec_version", "no_rec_version",
    "restart_requests", "no_auto_undo", "no_savepoint",   "exclusivity", "wait_time"};

int transactionConstant(const QString& name)
{
    for (std::size_t i = 0; i < transactionConstantNames.size(); ++i)
        if (name == QLatin1StringView(transactionConstantNames[i]))
            return int(i) + 1;
    return 0;
}

}  // namespace

QByteArray buildDatabaseParameterBlock(const QStringList& parameters)
{
    AnsiCodePage codePage;
    QByteArray block(1, char(isc_dpb_version1));
    for (const QString& line : parameters) {
        if (line.isEmpty())
            continue;
        const SplitLine item = splitLine(line, QLatin1StringView("isc_dpb_"));
        char code = 0;
        if (item.name == QLatin1StringView("user_name"))
            code = isc_dpb_user_name;
        else if (item.name == QLatin1StringView("password"))
            code = isc_dpb_password;
        else
            throw LayerError(QStringLiteral("DPB Constant (isc_dpb_%1) is unknown").arg(item.name));
        block.append(code);
        appendCounted(block, codePage.encode(item.value), item.name);
    }
    return block;
}

QByteArray buildTransactionParameterBlock(const QStringList& parameters)
{
    QByteArray block;
    if (parameters.isEmpty())
        return block;
    AnsiCodePage codePage;
    block.append(char(isc_tpb_version3));
    for (const QString& line : parameters) {
        if (line.trimmed().isEmpty())
            continue;
        const SplitLine item = splitLine(line, QLatin1StringView("isc_tpb_"));
        const int code = transactionConstant(item.name);
        if (code == 0)
            throw LayerError(QStringLiteral("TPB Constant (isc_tpb_%1) is unknown").arg(item.name));
        const QLatin1StringView name(transactionConstantNames[code - 1]);
        if (name == QLatin1StringView("verb_time") || name == QLatin1StringView("commit_time") ||
            name == QLatin1StringView("autocommit"))
            throw LayerError(QStringLiteral("TPB Constant (isc_tpb_%1) is unsupported").arg(name));
        block.append(char(code));
        if (name == QLatin1StringView("lock_read") || name == QLatin1StringView("lock_write")) {
            appendCounted(block, codePage.encode(item.value), item.name);
        } else if (name == QLatin1StringView("wait_time")) {
            bool ok = false;
            const qint32 seconds = item.value.trimmed().toInt(&ok);
            if (!ok)
                throw LayerError(QStringLiteral("Invalid wait_time value '%1'").arg(item.value));
            block.append(char(4));
            char bytes[4];
            qToLittleEndian(seconds, bytes);
            block.append(bytes, 4);
        }
    }
    return block;
}

}  // namespace korvat
