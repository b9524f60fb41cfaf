#include "crypto/credentialscrambler.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QtDebug>

namespace {

constexpr int ChecksumSize = 2;
constexpr int HashSize = 20;
// zlib cannot expand data by more than about 1032 to 1; a length prefix
// claiming more is damage and must not make us allocate it.
constexpr quint64 MaxInflationRatio = 1032;

QByteArray checksumBytes(const QByteArray &payload)
{
    const quint16 sum = qChecksum(payload.constData(), uint(payload.size()));
    QByteArray bytes(ChecksumSize, '\0');
    bytes[0] = char(sum >> 8);
    bytes[1] = char(sum & 0xff);
    return bytes;
}

QByteArray sha1(const QByteArray &payload)
{
    return QCryptographicHash::hash(payload, QCryptographicHash::Sha1);
}

// Splits the stored value off the front of body and checks it against the rest.
bool takeIntegrityValue(QByteArray *body, int size, QByteArray (*compute)(const QByteArray &))
{
    if (body->size() < size)
        return false;
    const QByteArray stored = body->left(size);
    body->remove(0, size);
    return stored == compute(*body);
}

} // namespace

CredentialScrambler::CredentialScrambler() = default;

CredentialScrambler::CredentialScrambler(quint64 key)
{
    setKey(key);
}

void CredentialScrambler::setKey(quint64 key)
{
    m_keyParts.resize(8);
    for (int i = 0; i < 8; ++i)
        m_keyParts[i] = char((key >> (8 * i)) & 0xff);
}

bool CredentialScrambler::hasKey() const
{
    return !m_keyParts.isEmpty();
}

QString CredentialScrambler::scrambleToString(const QString &text)
{
    return QString::fromLatin1(scrambleToBytes(text.toUtf8()).toBase64());
}

QString CredentialScrambler::unscrambleToString(const QString &text)
{
    return QString::fromUtf8(unscrambleToBytes(QByteArray::fromBase64(text.toLatin1())));
}

QByteArray CredentialScrambler::scrambleToBytes(const QByteArray &plain)
{
    if (!hasKey()) {
        qWarning() << "No key set.";
        m_lastError = ScramblerError::NoKeySet;
        return QByteArray();
    }

    QByteArray payload = plain;
    char flags = 0;
    if (m_compressionMode != CompressionMode::Never) {
        const QByteArray compressed = qCompress(payload, 9);
        if (m_compressionMode == CompressionMode::Always || compressed.size() < payload.size()) {
            payload = compressed;
            flags |= FlagCompressed;
        }
    }

    QByteArray integrity;
    if (m_integrityMode == IntegrityMode::Checksum) {
        flags |= FlagChecksum;
        integrity = checksumBytes(payload);
    } else if (m_integrityMode == IntegrityMode::Hash) {
        flags |= FlagHash;
        integrity = sha1(payload);
    }

    QByteArray body;
    body.reserve(1 + integrity.size() + payload.size());
    body.append(char(QRandomGenerator::global()->bounded(256)));
    body.append(integrity);
    body.append(payload);

    char last = 0;
    for (int p = 0; p < body.size(); ++p) {
        body[p] = char(body.at(p) ^ m_keyParts.at(p % 8) ^ last);
        last = body.at(p);
    }

    QByteArray result;
    result.reserve(2 + body.size());
    result.append(Version);
    result.append(flags);
    result.append(body);
    m_lastError = ScramblerError::None;
    return result;
}

QByteArray CredentialScrambler::unscrambleToBytes(const QByteArray &data)
{
    if (!hasKey()) {
        qWarning() << "No key set.";
        m_lastError = ScramblerError::NoKeySet;
        return QByteArray();
    }
    if (data.size() < 3 || data.at(0) != Version) {
        qWarning() << "Invalid version or not a cyphertext.";
        m_lastError = ScramblerError::WrongVersion;
        return QByteArray();
    }

    const char flags = data.at(1);
    QByteArray body = data.mid(2);
    char last = 0;
    for (int p = 0; p < body.size(); ++p) {
        const char stored = body.at(p);
        body[p] = char(stored ^ m_keyParts.at(p % 8) ^ last);
        last = stored;
    }
    body.remove(0, 1);

    const bool intact = (flags & FlagChecksum) ? takeIntegrityValue(&body, ChecksumSize, checksumBytes)
                      : (flags & FlagHash)       ? takeIntegrityValue(&body, HashSize, sha1)
                                                 : true;
    if (!intact) {
        m_lastError = ScramblerError::IntegrityFailed;
        return QByteArray();
    }

    if (flags & FlagCompressed) {
        // A compressed payload that does not inflate is damage, not an empty text.
        if (body.size() < 4) {
            m_lastError = ScramblerError::IntegrityFailed;
            return QByteArray();
        }
        const quint64 expected = (quint64(uchar(body.at(0))) << 24) | (quint64(uchar(body.at(1))) << 16)
            | (quint64(uchar(body.at(2))) << 8) | quint64(uchar(body.at(3)));
        if (expected > quint64(body.size()) * MaxInflationRatio) {
            m_lastError = ScramblerError::IntegrityFailed;
            return QByteArray();
        }
        const QByteArray inflated = qUncompress(body);
        if (expected != quint64(inflated.size())) {
            m_lastError = ScramblerError::IntegrityFailed;
            return QByteArray();
        }
        body = inflated;
    }

    m_lastError = ScramblerError::None;
    return body;
}
