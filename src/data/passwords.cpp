#include "data/passwords.h"
#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QStringList>

namespace {
const QString kAlgorithm = QStringLiteral("pbkdf2-sha256");
constexpr int kSaltBytes = 16;
constexpr int kHashBytes = 32;
// A tampered count must not keep the login busy for hours.
constexpr int kMaxIterations = 10'000'000;

struct Parsed {
    int iterations = 0;
    QByteArray salt;
    QByteArray hash;
};

bool parse(const QString& stored, Parsed& out) {
    const QStringList parts = stored.split(u'$');
    if (parts.size() != 4 || parts[0] != kAlgorithm)
        return false;
    bool ok = false;
    out.iterations = parts[1].toInt(&ok);
    if (!ok || out.iterations < 1 || out.iterations > kMaxIterations)
        return false;
    const auto salt =
        QByteArray::fromBase64Encoding(parts[2].toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    const auto hash =
        QByteArray::fromBase64Encoding(parts[3].toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!salt || !hash || salt.decoded.isEmpty() || hash.decoded.size() != kHashBytes)
        return false;
    out.salt = salt.decoded;
    out.hash = hash.decoded;
    return true;
}

QByteArray derive(const QString& typed, const QByteArray& salt, int iterations) {
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, Passwords::fold(typed).toUtf8(),
                                              salt, iterations, kHashBytes);
}
} // namespace

namespace Passwords {

QString fold(const QString& text) {
    QString out = text;
    for (QChar& c : out)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    return out;
}

bool constantTimeEqual(QByteArrayView a, QByteArrayView b) {
    unsigned diff = unsigned(a.size() != b.size());
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i)
        diff |= unsigned(uchar(a[i]) ^ uchar(b[i]));
    return diff == 0;
}

QString hash(const QString& typed, int iterations) {
    if (typed.isEmpty())
        return {};
    QByteArray salt(kSaltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->generate(salt.begin(), salt.end());
    return QStringLiteral("%1$%2$%3$%4")
        .arg(kAlgorithm)
        .arg(iterations)
        .arg(QString::fromLatin1(salt.toBase64()),
             QString::fromLatin1(derive(typed, salt, iterations).toBase64()));
}

bool isHash(const QString& stored) {
    Parsed p;
    return parse(stored, p);
}

bool verify(const QString& typed, const QString& stored) {
    Parsed p;
    if (parse(stored, p))
        return constantTimeEqual(derive(typed, p.salt, p.iterations), p.hash);
    return constantTimeEqual(fold(typed).toUtf8(), fold(stored).toUtf8());
}
} // namespace Passwords
