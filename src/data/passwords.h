#pragma once
#include <QByteArrayView>
#include <QString>

// Operator passwords are kept as salted PBKDF2-HMAC-SHA256 hashes, never as typed. The stored
// text names the algorithm and carries its iteration count and salt:
//     pbkdf2-sha256$120000$<salt, base64>$<hash, base64>
// so the count can be raised later without making older hashes unreadable. An operator without a
// password has an empty text. Letters a to z are folded to A to Z before hashing, since the login
// takes them without regard to case; every other character counts exactly.
namespace Passwords {
// The count every new hash is made with.
inline constexpr int kIterations = 120000;

// The text to store for a password typed by the operator: empty for an empty password.
// iterations is for tests that are not about the count.
QString hash(const QString& typed, int iterations = kIterations);
// True when typed is the password of stored. A stored text that is not a hash (a file that could
// not be converted yet) is compared as a password of the earlier form.
bool verify(const QString& typed, const QString& stored);
// True when stored is a hash in the form above.
bool isHash(const QString& stored);
// a to z as A to Z, everything else as it is.
QString fold(const QString& text);
// Compares every byte whatever the first difference, so the time taken tells nothing of where
// two hashes part.
bool constantTimeEqual(QByteArrayView a, QByteArrayView b);
} // namespace Passwords
