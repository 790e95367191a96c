#include "data/autobackup.h"
#include "data/backup.h"
#include "data/dberror.h"
#include "data/programfolder.h"
#include "data/settings.h"
#include "data/tdm1.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
const QString kSection = QStringLiteral("自动备份");
const QString kFormat = QStringLiteral("yyyy-MM-dd");

QDate dayOf(const QString& name) {
    static const QRegularExpression re(QStringLiteral("^(\\d{4}-\\d{2}-\\d{2})\\.bak$"));
    const auto m = re.match(name);
    return m.hasMatch() ? QDate::fromString(m.captured(1), kFormat) : QDate();
}
} // namespace

namespace AutoBackup {

Settings settings() {
    const QString ini = ProgramFolder::iniFile();
    Settings s;
    const QString folder = IniFile::read(ini, kSection, QStringLiteral("目录")).trimmed();
    s.folderNamed = !folder.isEmpty();
    s.folder = s.folderNamed ? QDir(ProgramFolder::path()).absoluteFilePath(folder)
                             : QDir(ProgramFolder::path()).filePath(QStringLiteral("backup"));
    bool ok = false;
    const int days = IniFile::read(ini, kSection, QStringLiteral("保留天数")).trimmed().toInt(&ok);
    if (ok && days > 0)
        s.keepDays = days;
    return s;
}

QString fileName(const QDate& day) {
    return day.toString(kFormat) + QStringLiteral(".bak");
}

QString fileFor(const Settings& s, const QDate& day) {
    return QDir(s.folder).filePath(fileName(day));
}

bool doneFor(const Settings& s, const QDate& day) {
    return QFileInfo(fileFor(s, day)).isFile();
}

QStringList backups(const Settings& s) {
    QStringList out;
    const QStringList names =
        QDir(s.folder).entryList({QStringLiteral("*.bak")}, QDir::Files, QDir::Name | QDir::Reversed);
    for (const QString& n : names)
        if (dayOf(n).isValid())
            out << QDir(s.folder).filePath(n);
    return out;
}

void run(TDM1& dm, const Settings& s, const QDate& today) {
    if (!QFileInfo(s.folder).isDir()) {
        if (s.folderNamed || !QDir().mkpath(s.folder))
            TDM1::fail(QStringLiteral("备份文件夹“%1”不存在！").arg(QDir::toNativeSeparators(s.folder)));
        QFile::setPermissions(s.folder,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    // The file is copied and verified page by page; a server's tables are written from one snapshot.
    if (dm.fileName().isEmpty())
        dm.backupTo(fileFor(s, today));
    else
        DbBackup::backupVerified(dm, fileFor(s, today));
    prune(s, today);
}

void prune(const Settings& s, const QDate& today) {
    const QStringList files = backups(s);
    const QDate oldest = today.addDays(-s.keepDays);
    // files[0] is the newest: it stays, however old.
    for (qsizetype i = 1; i < files.size(); ++i)
        if (dayOf(QFileInfo(files[i]).fileName()) <= oldest)
            QFile::remove(files[i]);
}
} // namespace AutoBackup
