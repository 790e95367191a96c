// The settings file reader: any bytes decode; a key written into any file reads back as written,
// and every other key reads as it did before.
#include "data/settings.h"
#include "data/dberror.h"
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)IniFile::decode(bytes);
    const QString path = dir.filePath(QStringLiteral("myini.ini"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(bytes);
    }
    const QString before = IniFile::read(path, QStringLiteral("print"), QStringLiteral("title"));
    const QString value = QStringLiteral("店名=“新”;[x]") + QString::number(size);
    try {
        IniFile::write(path, QStringLiteral("shop"), QStringLiteral("name"), value);
    } catch (const DbError&) {
        std::abort();
    }
    if (IniFile::read(path, QStringLiteral("shop"), QStringLiteral("name")) != value)
        std::abort();
    if (IniFile::read(path, QStringLiteral("print"), QStringLiteral("title")) != before)
        std::abort();
    return 0;
}
