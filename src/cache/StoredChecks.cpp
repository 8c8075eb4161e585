#include "cache/StoredChecks.h"

#include "base/TraceDebug.h"
#include "cache/ResultCache.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr const char16_t *kColumns[] = {u"tree", u"rows", u"directory_log", u"error_log"};

// The packed parts in the order of kColumns.
template <typename Check> auto &PartOf(Check &check, int index)
{
    decltype(&check.tree) parts[] = {&check.tree, &check.rows, &check.directoryLog, &check.errorLog};
    return *parts[index];
}

bool IsInteger(const QVariant &value)
{
    return value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int;
}

} // namespace

CStoredChecks::CStoredChecks(CResultCache &cache) : m_connection(cache.ConnectionName())
{
    m_bReady = !m_connection.isEmpty() && MakeTable();
}

// Databases made before whole checks were kept get the table on first use.
bool CStoredChecks::MakeTable()
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    QString columns;
    for (const char16_t *column : kColumns)
        columns += u", %1 BLOB NOT NULL, %1_size INTEGER NOT NULL"_s.arg(QString::fromUtf16(column));
    const bool made = query.exec(u"CREATE TABLE IF NOT EXISTS checks (key TEXT PRIMARY KEY%1,"
                                 " status INTEGER NOT NULL, used INTEGER NOT NULL)"_s.arg(columns));
    if (!made)
        TraceDebug(u"results cache: no table of whole checks: %s\n", query.lastError().text());
    return made;
}

std::optional<SStoredCheck> CStoredChecks::Find(const QString &key)
{
    if (!m_bReady)
        return std::nullopt;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(u"SELECT tree, tree_size, rows, rows_size, directory_log, directory_log_size, error_log,"
                  " error_log_size, status FROM checks WHERE key = ?"_s);
    query.addBindValue(key);
    if (!query.exec() || !query.next())
        return std::nullopt;
    SStoredCheck check;
    for (int i = 0; i < 4; ++i) {
        const QVariant packed = query.value(2 * i);
        const QVariant size = query.value(2 * i + 1);
        if (packed.typeId() != QMetaType::QByteArray || !IsInteger(size) || size.toLongLong() < 0)
            return std::nullopt;
        PartOf(check, i) = SPackedBytes{packed.toByteArray(), size.toLongLong()};
    }
    if (!IsInteger(query.value(8)))
        return std::nullopt;
    check.nExitStatus = query.value(8).toInt();
    query.finish();
    QSqlQuery touch(db);
    touch.prepare(u"UPDATE checks SET used = (SELECT coalesce(max(used), 0) + 1 FROM checks) WHERE key = ?"_s);
    touch.addBindValue(key);
    touch.exec();
    return check;
}

bool CStoredChecks::Keep(const QString &key, const SStoredCheck &check)
{
    if (!m_bReady)
        return false;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.transaction())
        return false;
    QSqlQuery query(db);
    query.prepare(u"INSERT OR REPLACE INTO checks (key, tree, tree_size, rows, rows_size, directory_log,"
                  " directory_log_size, error_log, error_log_size, status, used)"
                  " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, (SELECT coalesce(max(used), 0) + 1 FROM checks))"_s);
    query.addBindValue(key);
    for (int i = 0; i < 4; ++i) {
        query.addBindValue(PartOf(check, i).packed);
        query.addBindValue(PartOf(check, i).nSize);
    }
    query.addBindValue(check.nExitStatus);
    QSqlQuery trim(db);
    const bool kept = query.exec()
        && trim.exec(u"DELETE FROM checks WHERE key NOT IN (SELECT key FROM checks ORDER BY used DESC LIMIT %1)"_s.arg(kKept))
        && db.commit();
    if (!kept) {
        TraceDebug(u"results cache: cannot keep a whole check: %s\n", query.lastError().text());
        db.rollback();
    }
    return kept;
}

} // namespace velmora
