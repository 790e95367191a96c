#include "data/settings.h"
#include "data/dberror.h"
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace IniFile {

QString decode(const QByteArray& raw) {
    QByteArray bytes = raw;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder gbk("GB18030");
    return gbk.isValid() ? QString(gbk.decode(bytes)) : QString::fromLatin1(bytes);
}

namespace {
QStringList readLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QString text = decode(f.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool isSection(const QString& line, QString* name) {
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(u'[') || !t.endsWith(u']'))
        return false;
    *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

// Index of the key's line inside the section, or -1; *sectionEnd is where a new key goes.
int findKey(const QStringList& lines, const QString& section, const QString& key, int* sectionEnd) {
    bool inSection = false;
    *sectionEnd = -1;
    for (int i = 0; i < lines.size(); ++i) {
        QString name;
        if (isSection(lines[i], &name)) {
            if (inSection)
                return -1;
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            if (inSection)
                *sectionEnd = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        const QString t = lines[i].trimmed();
        if (!t.isEmpty() && !t.startsWith(u';'))
            *sectionEnd = i + 1;
        const int eq = lines[i].indexOf(u'=');
        if (eq > 0 && lines[i].left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}
} // namespace

QString read(const QString& path, const QString& section, const QString& key, const QString& fallback) {
    const QStringList lines = readLines(path);
    int end = -1;
    const int i = findKey(lines, section, key, &end);
    if (i < 0)
        return fallback;
    return lines[i].mid(lines[i].indexOf(u'=') + 1).trimmed();
}

void write(const QString& path, const QString& section, const QString& key, const QString& value) {
    QStringList lines = readLines(path);
    int end = -1;
    const int i = findKey(lines, section, key, &end);
    // One line holds one value: line breaks typed into a setting become blanks.
    QString flat = value;
    flat.replace(u'\r', u' ').replace(u'\n', u' ');
    const QString line = key + u'=' + flat;
    if (i >= 0)
        lines[i] = line;
    else if (end >= 0)
        lines.insert(end, line);
    else
        lines << u'[' + section + u']' << line;
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        throw DbError(f.errorString());
    f.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
    if (!f.commit())
        throw DbError(f.errorString());
}
} // namespace IniFile
