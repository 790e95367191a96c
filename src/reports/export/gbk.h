#pragma once
#include <QByteArray>
#include <QStringView>

namespace Gbk {
// The program's 8-bit Chinese encoding. A character that GBK cannot hold (𠮷, emoji) is written
// in GB18030, which keeps the bytes of every GBK character and loses nothing.
QByteArray encode(QStringView text);
// Whether the character starting at text[i] (a whole surrogate pair counts as one) has a GBK form.
bool fitsGbk(QStringView character);
} // namespace Gbk
