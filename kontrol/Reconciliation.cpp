#include "Reconciliation.h"

#include "PackedValues.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <array>
#include <cmath>
#include <deque>

namespace korvat::kontrol {

namespace {

// A carried row: the source row and a target row of its code (a further
// copy, when a row was carried twice, pairs with the same source row).
struct Pair {
    int source;
    int target;
};

double numberOf(const FieldValue& value)
{
    if (const auto* integer = std::get_if<qint32>(&value))
        return *integer;
    if (const auto* number = std::get_if<double>(&value))
        return *number;
    return 0;
}

bool sameTotal(double a, double b, double scale)
{
    return std::abs(a - b) <= 1e-9 * std::max(1.0, scale);
}

const QString dateTimeFormat = QStringLiteral("dd.MM.yyyy HH:mm:ss");

class Reconciler {
public:
    Reconciler(const Holdings& source, const Holdings& target, const CheckSettings& settings)
        : m_source(source), m_target(target), m_settings(settings)
    {
    }

    Outcome run()
    {
        m_groupPairs =
            match(Area::Groups, m_source.groups, m_target.groups, groupColumns(), m_outcome.totals.groups);
        m_cardPairs =
            match(Area::Cards, m_source.cards, m_target.cards, cardColumns(), m_outcome.totals.cards);
        m_accountPairs = match(Area::Accounts, m_source.accounts, m_target.accounts, accountColumns(),
                               m_outcome.totals.accounts);
        m_outcome.date = m_settings.date ? m_settings.date : newestOpeningDate();
        checkStockEntries();
        checkAccountEntries();
        return std::move(m_outcome);
    }

private:
    QString text(const FieldValue& value) const { return textForm(value, m_settings.display); }
    QString number(double value) const { return textForm(value, m_settings.display); }

    QString codeText(const MasterRow& row) const
    {
        const std::vector<FieldValue> values = unpackValues(row.code);
        return values.empty() ? QString() : text(values.front());
    }

    QString nameText(Area area, const MasterRow& row) const
    {
        if (area == Area::Groups)
            return QString();
        const std::vector<FieldValue> values = unpackValues(row.copied);
        return values.size() > 1 ? text(values[1]) : QString();
    }

    void report(DifferenceKind kind, Area area, const MasterRow* row, QString field = {},
                QString sourceValue = {}, QString targetValue = {}, QString code = {})
    {
        Difference difference;
        difference.kind = kind;
        difference.area = area;
        difference.code = row ? codeText(*row) : std::move(code);
        difference.name = row ? nameText(area, *row) : QString();
        difference.field = std::move(field);
        difference.sourceValue = std::move(sourceValue);
        difference.targetValue = std::move(targetValue);
        m_outcome.differences.push_back(std::move(difference));
    }

    // Pairs source and target rows of the same code: equal rows first, then
    // the rest in key order; what is left over is missing or extra.
    std::vector<Pair> match(Area area, const std::vector<MasterRow>& source,
                            const std::vector<MasterRow>& target, const QStringList& columns,
                            RowCounts& counts)
    {
        QHash<QByteArray, std::vector<int>> targetByCode;
        for (int t = 0; t < int(target.size()); ++t)
            targetByCode[target[t].code].push_back(t);
        QHash<QByteArray, std::vector<int>> sourceByCode;
        std::vector<QByteArray> codes;
        for (int s = 0; s < int(source.size()); ++s) {
            std::vector<int>& rows = sourceByCode[source[s].code];
            if (rows.empty())
                codes.push_back(source[s].code);
            rows.push_back(s);
        }

        std::vector<Pair> pairs;
        counts.source = qint64(source.size());
        for (const QByteArray& code : codes) {
            const std::vector<int>& sources = sourceByCode[code];
            const std::vector<int> targets = targetByCode.value(code);
            std::vector<int> targetOf(sources.size(), -1);
            std::vector<bool> used(targets.size(), false);
            // Equal rows by their packed values, so a code that many rows
            // share (an empty one) costs no more than distinct codes.
            QHash<QByteArray, std::deque<int>> equalRows;
            for (std::size_t t = 0; t < targets.size(); ++t)
                equalRows[target[targets[t]].copied].push_back(int(t));
            for (std::size_t s = 0; s < sources.size(); ++s) {
                const auto found = equalRows.find(source[sources[s]].copied);
                if (found == equalRows.end() || found->empty())
                    continue;
                targetOf[s] = found->front();
                used[std::size_t(found->front())] = true;
                found->pop_front();
            }
            std::size_t next = 0;
            for (std::size_t s = 0; s < sources.size(); ++s) {
                if (targetOf[s] >= 0)
                    continue;
                while (next < targets.size() && used[next])
                    ++next;
                if (next == targets.size())
                    break;
                targetOf[s] = int(next);
                used[next] = true;
                compareFields(area, source[sources[s]], target[targets[next]], columns);
            }
            for (std::size_t s = 0; s < sources.size(); ++s) {
                if (targetOf[s] < 0) {
                    ++counts.missing;
                    report(DifferenceKind::Missing, area, &source[sources[s]]);
                } else {
                    ++counts.found;
                    pairs.push_back({sources[s], targets[targetOf[s]]});
                }
            }
            for (std::size_t t = 0; t < targets.size(); ++t) {
                if (used[t])
                    continue;
                ++counts.extra;
                const MasterRow& copy = target[targets[t]];
                report(DifferenceKind::CarriedTwice, area, &copy, QStringLiteral("anahtar"), QString(),
                       QString::number(copy.key));
                pairs.push_back({sources.back(), targets[t]});
            }
        }
        return pairs;
    }

    void compareFields(Area area, const MasterRow& source, const MasterRow& target,
                       const QStringList& columns)
    {
        const std::vector<FieldValue> sourceValues = unpackValues(source.copied);
        const std::vector<FieldValue> targetValues = unpackValues(target.copied);
        for (int c = 0; c < int(columns.size()); ++c) {
            const QString expected = text(sourceValues[c]);
            const QString found = text(targetValues[c]);
            if (expected == found)
                continue;
            const bool inactive = columns[c] == QLatin1String("AKTIFLIK");
            report(inactive ? DifferenceKind::Inactive : DifferenceKind::FieldDiffers, area, &target,
                   columns[c], expected, found);
        }
    }

    // The newest day of an opening entry on a carried card or account.
    std::optional<QDate> newestOpeningDate() const
    {
        std::optional<QDate> newest;
        const auto consider = [&newest](const std::vector<Entry>& entries, const QSet<qint64>& keys) {
            for (const Entry& entry : entries)
                if (entry.when && entry.owner && keys.contains(*entry.owner) &&
                    (!newest || entry.when->date() > *newest))
                    newest = entry.when->date();
        };
        consider(m_target.stockEntries, targetKeys(m_cardPairs, m_target.cards));
        consider(m_target.accountEntries, targetKeys(m_accountPairs, m_target.accounts));
        return newest;
    }

    static QSet<qint64> targetKeys(const std::vector<Pair>& pairs, const std::vector<MasterRow>& target)
    {
        QSet<qint64> keys;
        for (const Pair& pair : pairs)
            keys.insert(target[pair.target].key);
        return keys;
    }

    bool onDate(const Entry& entry) const
    {
        return m_outcome.date && entry.when && entry.when->date() == *m_outcome.date;
    }

    bool expectsStockEntry(const MasterRow& card) const
    {
        return m_settings.stockEntries == StockEntries::All ||
               (m_settings.stockEntries == StockEntries::PositiveOnly && card.amount > 0);
    }

    // What an opening stock entry holds wrongly: field, expected, found.
    std::vector<std::array<QString, 3>> stockEntryFaults(const Entry& entry, const MasterRow& card) const
    {
        std::vector<std::array<QString, 3>> faults;
        const auto compare = [&faults](const char* field, const QString& expected, const QString& found) {
            if (expected != found)
                faults.push_back({QString::fromLatin1(field), expected, found});
        };
        compare("GIREN", number(card.amount), text(entry.in));
        compare("FIYAT", card.price ? number(*card.price) : QString(), text(entry.price));
        compare("KAYIT_ID", QStringLiteral("1"), text(entry.record));
        const QDateTime midnight(*m_outcome.date, QTime(0, 0));
        compare("TARIH", midnight.toString(dateTimeFormat), entry.when->toString(dateTimeFormat));
        return faults;
    }

    double balanceOf(const Entry& entry) const { return numberOf(entry.in) - numberOf(entry.out); }

    std::vector<std::array<QString, 3>> accountEntryFaults(const Entry& entry, const MasterRow& account) const
    {
        std::vector<std::array<QString, 3>> faults;
        const double balance = account.amount;
        const QString type = balance > 0   ? QStringLiteral("1")
                             : balance < 0 ? QStringLiteral("2")
                                           : QString();
        if (number(balanceOf(entry)) != number(balance))
            faults.push_back({QStringLiteral("BAKIYE"), number(balance), number(balanceOf(entry))});
        if (text(entry.type) != type)
            faults.push_back({QStringLiteral("TURU_ID"), type, text(entry.type)});
        return faults;
    }

    // The checks of opening entries shared by stock cards and accounts.
    // `faults` says what an entry holds wrongly for a carried row,
    // `expects` whether the row must have one; `fits` whether an entry on
    // some other key is the one a row lacks.
    template <typename Faults, typename Expects>
    void checkEntries(Area area, const std::vector<Entry>& entries, const std::vector<Pair>& pairs,
                      const std::vector<MasterRow>& source, const std::vector<MasterRow>& target,
                      EntryCounts& counts, Faults faults, Expects expects, DifferenceKind wrongAmount)
    {
        QHash<qint64, int> pairOfKey;
        for (int p = 0; p < int(pairs.size()); ++p)
            pairOfKey.insert(target[pairs[p].target].key, p);

        QHash<qint64, std::vector<int>> entriesOfKey;
        std::vector<int> pool;  // entries no carried row has claimed
        for (int e = 0; e < int(entries.size()); ++e) {
            if (!onDate(entries[e]))
                continue;
            ++counts.found;
            if (entries[e].owner && pairOfKey.contains(*entries[e].owner))
                entriesOfKey[*entries[e].owner].push_back(e);
            else
                pool.push_back(e);
        }

        std::vector<int> lacking;  // pairs without their entry
        for (int p = 0; p < int(pairs.size()); ++p) {
            const MasterRow& row = source[pairs[p].source];
            const MasterRow& carried = target[pairs[p].target];
            const int expectation = expects(row);  // 2 required, 1 allowed, 0 none
            if (expectation == 2)
                ++counts.expected;
            std::vector<int> found = entriesOfKey.value(carried.key);
            if (found.empty()) {
                if (expectation == 2)
                    lacking.push_back(p);
                continue;
            }
            if (expectation == 0) {
                pool.insert(pool.end(), found.begin(), found.end());
                continue;
            }
            // The entry that matches, else the first; any other is one too many.
            auto chosen = std::find_if(found.begin(), found.end(),
                                       [&](int e) { return faults(entries[e], row).empty(); });
            if (chosen == found.end())
                chosen = found.begin();
            for (const auto& [field, expected, actual] : faults(entries[*chosen], row)) {
                const bool amount = field == QLatin1String("BAKIYE");
                report(amount ? wrongAmount : DifferenceKind::EntryDiffers, area, &carried, field, expected,
                       actual);
            }
            found.erase(chosen);
            pool.insert(pool.end(), found.begin(), found.end());
        }

        std::sort(pool.begin(), pool.end());
        for (const int p : lacking) {
            const MasterRow& row = source[pairs[p].source];
            const MasterRow& carried = target[pairs[p].target];
            const auto fitting = std::find_if(pool.begin(), pool.end(), [&](int e) {
                const std::vector<std::array<QString, 3>> wrong = faults(entries[e], row);
                return std::none_of(wrong.begin(), wrong.end(), [](const std::array<QString, 3>& fault) {
                    return fault[0] == QLatin1String("GIREN") || fault[0] == QLatin1String("FIYAT") ||
                           fault[0] == QLatin1String("BAKIYE");
                });
            });
            if (fitting == pool.end()) {
                report(DifferenceKind::MissingEntry, area, &carried);
                continue;
            }
            const Entry& entry = entries[*fitting];
            report(DifferenceKind::EntryOnWrongRow, area, &carried,
                   area == Area::Cards ? QStringLiteral("STOK_ID") : QStringLiteral("CARI_ID"),
                   QString::number(carried.key), entry.owner ? QString::number(*entry.owner) : QString());
            pool.erase(fitting);
        }

        const QString ownerColumn =
            area == Area::Cards ? QStringLiteral("STOK_ID") : QStringLiteral("CARI_ID");
        for (const int e : pool) {
            const Entry& entry = entries[e];
            const QString owner = entry.owner ? QString::number(*entry.owner) : QString();
            if (entry.owner && pairOfKey.contains(*entry.owner))
                report(DifferenceKind::UnexpectedEntry, area, &target[pairs[pairOfKey[*entry.owner]].target],
                       QStringLiteral("ID"), QString(), QString::number(entry.id));
            else
                report(DifferenceKind::StrayEntry, area, nullptr, QStringLiteral("ID"), QString(),
                       QString::number(entry.id), ownerColumn + QLatin1Char('=') + owner);
        }
    }

    void checkStockEntries()
    {
        Totals& totals = m_outcome.totals;
        const bool any = m_settings.stockEntries != StockEntries::None;
        if (!any) {
            const QSet<qint64> keys = targetKeys(m_cardPairs, m_target.cards);
            m_outcome.unexpectedStockEntries = std::any_of(
                m_target.stockEntries.begin(), m_target.stockEntries.end(), [&](const Entry& entry) {
                    return onDate(entry) && entry.owner && keys.contains(*entry.owner);
                });
        }
        const std::size_t before = m_outcome.differences.size();
        checkEntries(
            Area::Cards, m_target.stockEntries, m_cardPairs, m_source.cards, m_target.cards,
            totals.stockEntries,
            [this](const Entry& entry, const MasterRow& card) { return stockEntryFaults(entry, card); },
            [this](const MasterRow& card) { return expectsStockEntry(card) ? 2 : 0; },
            DifferenceKind::EntryDiffers);

        double scale = 0;
        for (const MasterRow& card : m_source.cards)
            if (expectsStockEntry(card)) {
                totals.sourceStock += card.amount;
                scale += std::abs(card.amount);
            }
        for (const Entry& entry : m_target.stockEntries)
            if (onDate(entry))
                totals.targetStock += numberOf(entry.in);
        totals.stockTotalsEqual = sameTotal(totals.sourceStock, totals.targetStock, scale);
        if (!totals.stockTotalsEqual && !anyIn(Area::Cards, before))
            report(DifferenceKind::TotalDiffers, Area::Cards, nullptr, QStringLiteral("GIREN"),
                   number(totals.sourceStock), number(totals.targetStock), QStringLiteral("(toplam)"));
    }

    void checkAccountEntries()
    {
        Totals& totals = m_outcome.totals;
        const std::size_t before = m_outcome.differences.size();
        checkEntries(
            Area::Accounts, m_target.accountEntries, m_accountPairs, m_source.accounts, m_target.accounts,
            totals.accountEntries,
            [this](const Entry& entry, const MasterRow& account) {
                return accountEntryFaults(entry, account);
            },
            // A zero or empty balance may have its entry without amounts,
            // or none where the target refused it.
            [](const MasterRow& account) { return account.amount != 0 ? 2 : 1; },
            DifferenceKind::WrongBalance);

        double scale = 0;
        for (const MasterRow& account : m_source.accounts) {
            totals.sourceBalance += account.amount;
            scale += std::abs(account.amount);
        }
        for (const Entry& entry : m_target.accountEntries)
            if (onDate(entry))
                totals.targetBalance += balanceOf(entry);
        totals.balanceTotalsEqual = sameTotal(totals.sourceBalance, totals.targetBalance, scale);
        if (!totals.balanceTotalsEqual && !anyIn(Area::Accounts, before))
            report(DifferenceKind::TotalDiffers, Area::Accounts, nullptr, QStringLiteral("BAKIYE"),
                   number(totals.sourceBalance), number(totals.targetBalance), QStringLiteral("(toplam)"));
    }

    // Whether the rows of an area differ anywhere, so a differing total says nothing new.
    bool anyIn(Area area, std::size_t entriesFrom) const
    {
        for (std::size_t i = 0; i < m_outcome.differences.size(); ++i) {
            const Difference& difference = m_outcome.differences[i];
            if (difference.area == area && (i >= entriesFrom || difference.kind == DifferenceKind::Missing ||
                                            difference.kind == DifferenceKind::CarriedTwice))
                return true;
        }
        return false;
    }

    const Holdings& m_source;
    const Holdings& m_target;
    const CheckSettings& m_settings;
    Outcome m_outcome;
    std::vector<Pair> m_groupPairs, m_cardPairs, m_accountPairs;
};

}  // namespace

Outcome reconcile(const Holdings& source, const Holdings& target, const CheckSettings& settings)
{
    return Reconciler(source, target, settings).run();
}

}  // namespace korvat::kontrol
