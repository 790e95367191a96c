#pragma once
#include <QString>

// The settings file myini.ini: an INI file written in UTF-8. Files written by the
// shop's old Windows program are GBK; both are read.
namespace IniFile {
QString read(const QString& path, const QString& section, const QString& key, const QString& fallback = {});
// Rewrites the file with the key set, keeping every other line; throws DbError when it cannot be written.
void write(const QString& path, const QString& section, const QString& key, const QString& value);
// Turns the bytes of a settings file into text, guessing UTF-8 or GBK.
QString decode(const QByteArray& bytes);
} // namespace IniFile
