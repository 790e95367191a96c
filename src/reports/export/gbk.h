#pragma once
#include <QByteArray>
#include <QStringView>

namespace Gbk {
// The exports' Chinese encoding, GB18030: every character of GBK in its two GBK bytes, and every
// other character (€, 𠀀, emoji) in GB18030's own form, so one decoder reads the whole file.
// (Windows' code page 936 writes € as the single byte 0x80, which GB18030 does not know.)
QByteArray encode(QStringView text);
// Whether the character starting at text[0] (a whole surrogate pair counts as one) has a form in
// Windows' code page 936, the code page of RTF files.
bool fitsGbk(QStringView character);
// The bytes of Windows' code page 936 (GBK with € as 0x80), the code page RTF files declare;
// only for text whose every character fits (fitsGbk).
QByteArray encodeCp936(QStringView text);
} // namespace Gbk
