#include "data/backup.h"
#include "data/collation.h"
#include "data/eventturns.h"
#include "data/tdm1.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QTemporaryFile>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <functional>
#include <sqlite3.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
const char* const kTableNames[] = {"操作员",   "客户信息", "维修项目", "dinggou",
                                   "维修记录", "帐款明细", "收款记录", "乡镇"};

// A raw connection of its own, closed when it goes out of scope.
class Connection {
  public:
    Connection(const QString& file, int flags) {
        const int rc = sqlite3_open_v2(QFile::encodeName(file).constData(), &db_, flags, nullptr);
        if (rc != SQLITE_OK)
            TDM1::fail(QStringLiteral("无法打开文件“%1”：%2").arg(file, message()));
        sqlite3_busy_timeout(db_, 5000);
        Collation::registerPinyin(db_);
    }
    ~Connection() { sqlite3_close(db_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    sqlite3* get() const { return db_; }
    QString message() const {
        return db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("out of memory");
    }

    // Runs a statement with text values bound in order.
    void exec(const QString& sql, const QStringList& values = {}) const {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
            TDM1::fail(message());
        for (int i = 0; i < values.size(); ++i) {
            const QByteArray v = values[i].toUtf8();
            sqlite3_bind_text(st, i + 1, v.constData(), int(v.size()), SQLITE_TRANSIENT);
        }
        const int rc = sqlite3_step(st);
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE)
            TDM1::fail(message());
    }

    // The first column of every row of a statement.
    QStringList column(const QString& sql) const {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
            TDM1::fail(message());
        QStringList out;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW)
            out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE)
            TDM1::fail(message());
        return out;
    }

  private:
    sqlite3* db_ = nullptr;
};

sqlite3* liveHandle(TDM1& dm) {
    if (!dm.isOpen())
        TDM1::fail(QStringLiteral("数据库没有打开！"));
    const QVariant h = dm.db().driver()->handle();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0)
        TDM1::fail(QStringLiteral("数据库驱动不可用"));
    sqlite3* db = *static_cast<sqlite3* const*>(h.data());
    if (!db)
        TDM1::fail(QStringLiteral("数据库没有打开！"));
    return db;
}

// One copy at a time: the window processes events while a copy runs.
bool copying = false;

class CopyRunning {
  public:
    CopyRunning() {
        if (copying)
            TDM1::fail(QStringLiteral("正在备份或恢复数据，请稍后再试！"));
        copying = true;
    }
    ~CopyRunning() { copying = false; }
    CopyRunning(const CopyRunning&) = delete;
    CopyRunning& operator=(const CopyRunning&) = delete;
};

void refuseDuringSave(TDM1& dm) {
    // The connection's own uncommitted rows would go into the copy.
    if (dm.inTransaction())
        TDM1::fail(QStringLiteral("正在保存数据，请稍后再试！"));
}

// Copies the whole of src into dest. The copy goes in steps of a few thousand pages with the
// window's events processed between them; a change to src through this program's connection
// meanwhile reaches the copy too, and one by another program starts the copy again, so the copy
// is always one consistent state of src.
void copyDatabase(sqlite3* src, sqlite3* dest) {
    constexpr int kPagesPerStep = 1024;
    sqlite3_backup* b = sqlite3_backup_init(dest, "main", src, "main");
    if (!b)
        TDM1::fail(QString::fromUtf8(sqlite3_errmsg(dest)));
    EventTurns turns;
#ifdef Q_OS_LINUX
    // The copy's last step waits until every page is on the disk; the pages written so far are
    // sent to the disk at every turn instead, in the background, so that wait stays short.
    const char* destName = sqlite3_db_filename(dest, "main");
    const int destFd = destName && *destName ? ::open(destName, O_RDONLY | O_CLOEXEC) : -1;
#endif
    int rc = SQLITE_OK;
    // Another program writing the file holds it for a moment; wait up to ten seconds each time.
    int busy = 0;
    while (busy < 200) {
        rc = sqlite3_backup_step(b, kPagesPerStep);
        if (rc == SQLITE_OK) {
            busy = 0;
#ifdef Q_OS_LINUX
            if (turns.tick() && destFd >= 0)
                ::sync_file_range(destFd, 0, 0, SYNC_FILE_RANGE_WRITE);
#else
            turns.tick();
#endif
            continue;
        }
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED)
            break;
        ++busy;
        sqlite3_sleep(50);
    }
    sqlite3_backup_finish(b);
#ifdef Q_OS_LINUX
    if (destFd >= 0)
        ::close(destFd);
#endif
    if (rc != SQLITE_DONE) {
        QString text = QString::fromUtf8(sqlite3_errstr(rc));
        const QString srcText = QString::fromUtf8(sqlite3_errmsg(src));
        if (sqlite3_errcode(src) != SQLITE_OK && srcText != text)
            text += QStringLiteral("：") + srcText;
        TDM1::fail(text);
    }
}

// An empty file beside target, readable by its owner only; the caller removes or renames it.
QString newFileBeside(const QString& target) {
    QTemporaryFile tmp(target + QStringLiteral(".XXXXXX"));
    tmp.setAutoRemove(false);
    if (!tmp.open())
        TDM1::fail(QStringLiteral("无法创建文件“%1”：%2").arg(target, tmp.errorString()));
    tmp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QString name = tmp.fileName();
    tmp.close();
    return name;
}

void syncFolder(const QString& file) {
    const int fd =
        ::open(QFile::encodeName(QFileInfo(file).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void renameOver(const QString& from, const QString& to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        TDM1::fail(
            QStringLiteral("无法写入文件“%1”：%2").arg(to, QString::fromLocal8Bit(std::strerror(errno))));
    syncFolder(to);
}

// Writes a copy of src into a fresh file beside target and returns its name.
QString copyBeside(sqlite3* src, const QString& target) {
    const QString tmp = newFileBeside(target);
    try {
        Connection dest(tmp, SQLITE_OPEN_READWRITE);
        copyDatabase(src, dest.get());
    } catch (...) {
        QFile::remove(tmp);
        throw;
    }
    return tmp;
}

// Runs work on a thread of its own while the window keeps its events; rethrows what work threw.
void besideWindow(const std::function<void()>& work) {
    std::exception_ptr failure;
    std::atomic<bool> done = false;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
    });
    // The window gets its turn at once: the copy's last step has just held it.
    EventTurns turns;
    turns.turn();
    while (!done) {
        turns.tick();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}
} // namespace

namespace DbBackup {

QList<qlonglong> tableCounts(TDM1& dm) {
    QList<qlonglong> out;
    for (const char* t : kTableNames)
        out << dm.ADOall
                   .first(QStringLiteral("SELECT count(*) AS n FROM %1")
                              .arg(TDM1::quoteId(QString::fromUtf8(t))))
                   .integer(QStringLiteral("n"));
    return out;
}

void verifyCopy(const QString& file, const QList<qlonglong>& counts) {
    QStringList check;
    QList<qlonglong> found;
    try {
        Connection c(file, SQLITE_OPEN_READONLY);
        check = c.column(QStringLiteral("PRAGMA integrity_check"));
        if (check == QStringList{QStringLiteral("ok")})
            for (const char* t : kTableNames)
                found << c.column(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(QString::fromUtf8(t)))
                             .value(0)
                             .toLongLong();
    } catch (const DbError& e) {
        check = QStringList{e.text()};
    }
    if (check != QStringList{QStringLiteral("ok")})
        TDM1::fail(QStringLiteral("备份文件“%1”已损坏：%2").arg(file, check.join(u'\n')));
    for (qsizetype i = 0; i < found.size(); ++i)
        if (found[i] != counts.value(i))
            TDM1::fail(QStringLiteral("备份文件“%1”中表“%2”的记录数（%3）与数据库（%4）不符")
                           .arg(file, QString::fromUtf8(kTableNames[i]))
                           .arg(found[i])
                           .arg(counts.value(i)));
}

// Copies the live database beside file and gives the copy file's name once check (when given)
// has accepted it; a copy that is not accepted, or not complete, is removed.
static void copyInto(TDM1& dm, const QString& file,
                     const std::function<void(sqlite3*, const QString&)>& check) {
    const CopyRunning running;
    refuseDuringSave(dm);
    sqlite3* live = liveHandle(dm);
    if (QFileInfo(file).isDir())
        TDM1::fail(QStringLiteral("“%1”是一个文件夹！").arg(file));
    const QString tmp = copyBeside(live, file);
    try {
        if (check)
            check(live, tmp);
        renameOver(tmp, file);
    } catch (...) {
        QFile::remove(tmp);
        throw;
    }
}

void backupVerified(TDM1& dm, const QString& file) {
    copyInto(dm, file, [&dm](sqlite3* live, const QString& tmp) {
        // The copy's last step has held the window: it gets a turn before the counts. Only the
        // user's input writes, and that waits, so the counts are those of the copy's state; a
        // change all the same makes the check fail rather than pass a copy it cannot vouch for.
        const int changes = sqlite3_total_changes(live);
        EventTurns().turn();
        const QList<qlonglong> counts = tableCounts(dm);
        if (sqlite3_total_changes(live) != changes)
            TDM1::fail(QStringLiteral("备份时数据有改动，请稍后再试！"));
        besideWindow([&] { verifyCopy(tmp, counts); });
    });
}

QString safetyCopyName(const QString& databaseFile) {
    return databaseFile + QStringLiteral(".before-restore");
}

void backupTo(TDM1& dm, const QString& file) {
    copyInto(dm, file, {});
}

void validate(TDM1& dm, const QString& file) {
    if (!QFileInfo(file).isFile())
        TDM1::fail(QStringLiteral("文件“%1”不存在！").arg(file));
    Connection c(file, SQLITE_OPEN_READONLY);
    const QStringList check = c.column(QStringLiteral("PRAGMA integrity_check"));
    if (check != QStringList{QStringLiteral("ok")})
        TDM1::fail(QStringLiteral("文件“%1”已损坏：%2").arg(file, check.join(u'\n')));
    for (const char* t : kTableNames) {
        const QString table = QString::fromUtf8(t);
        // The table names are the program's own constants, free of quotes.
        const QStringList names =
            c.column(QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(table));
        if (names.isEmpty())
            TDM1::fail(QStringLiteral("文件“%1”不是本程序的数据库（缺少表“%2”）").arg(file, table));
        for (const QString& wanted : dm.columns(table)) {
            const bool found = std::any_of(names.begin(), names.end(), [&](const QString& n) {
                return n.compare(wanted, Qt::CaseInsensitive) == 0;
            });
            if (!found)
                TDM1::fail(QStringLiteral("文件“%1”不是本程序的数据库（表“%2”缺少列“%3”）")
                               .arg(file, table, wanted));
        }
    }
}

void restoreFrom(TDM1& dm, const QString& file, const QString& operatorNumber) {
    const CopyRunning running;
    refuseDuringSave(dm);
    liveHandle(dm);
    const QString live = dm.fileName();
    validate(dm, file);

    // The new database is first written beside the current one, then checked again.
    QString tmp;
    {
        Connection src(file, SQLITE_OPEN_READONLY);
        tmp = copyBeside(src.get(), live);
    }
    try {
        validate(dm, tmp);
        // The line of the restore goes in with the restored records, in one transaction.
        Connection c(tmp, SQLITE_OPEN_READWRITE);
        c.exec(QStringLiteral("BEGIN"));
        for (const QString& ddl : TDM1::changeLogDdl())
            c.exec(ddl);
        c.exec(TDM1::changeLogInsert(),
               {QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                operatorNumber,
                QStringLiteral("恢复"),
                {},
                {},
                QStringLiteral("原数据库保存为：%1").arg(safetyCopyName(live)),
                QStringLiteral("恢复自：%1").arg(QFileInfo(file).absoluteFilePath())});
        c.exec(QStringLiteral("COMMIT"));
    } catch (...) {
        QFile::remove(tmp);
        throw;
    }

    std::vector<int> openQueries;
    for (int n = 3; n <= TDM1::kLastQuery; ++n)
        if (dm.ADOQuery(n).isOpen())
            openQueries.push_back(n);
    const auto reopenQueries = [&] {
        for (int n : openQueries) {
            try {
                dm.ADOQuery(n).reopen();
            } catch (const DbError&) {
                // A query that no longer runs stays closed; its grid shows no rows.
            }
        }
    };

    dm.closeConnection();
    const QString safety = safetyCopyName(live);
    try {
        // A journal left beside the file belongs to the current database; it must not meet another.
        for (const char* suffix : {"-journal", "-wal"})
            if (QFileInfo::exists(live + QString::fromLatin1(suffix)))
                TDM1::fail(QStringLiteral("数据库正被其他程序使用，请稍后再试！"));
        QFile::remove(safety);
        // The current database stays reachable under its own name until the new one takes it over.
        if (::link(QFile::encodeName(live).constData(), QFile::encodeName(safety).constData()) != 0 &&
            !QFile::copy(live, safety))
            TDM1::fail(QStringLiteral("无法保留原数据库“%1”").arg(safety));
        renameOver(tmp, live);
    } catch (...) {
        QFile::remove(tmp);
        dm.open(live);
        reopenQueries();
        throw;
    }
    try {
        dm.open(live);
    } catch (...) {
        // The restored file does not open: put the previous database back.
        renameOver(safety, live);
        QFile::copy(live, safety);
        dm.open(live);
        reopenQueries();
        throw;
    }
    reopenQueries();
}
} // namespace DbBackup
