#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>
#include <QtGlobal>

// Turns a short secret into Base64 text with a keyed XOR chain, optional
// compression and an integrity check. Keeps casual readers of the settings
// out; it is no protection against anyone who has the program.
class CredentialScrambler
{
public:
    enum class CompressionMode { Auto = 0, Always = 1, Never = 2 };
    enum class IntegrityMode { None = 0, Checksum = 1, Hash = 2 };
    enum class ScramblerError { None = 0, NoKeySet = 1, WrongVersion = 2, IntegrityFailed = 3 };

    CredentialScrambler();
    explicit CredentialScrambler(quint64 key);

    void setKey(quint64 key);
    bool hasKey() const;

    CompressionMode compressionMode() const { return m_compressionMode; }
    void setCompressionMode(CompressionMode mode) { m_compressionMode = mode; }
    IntegrityMode integrityMode() const { return m_integrityMode; }
    void setIntegrityMode(IntegrityMode mode) { m_integrityMode = mode; }
    ScramblerError lastError() const { return m_lastError; }

    QString scrambleToString(const QString &text);
    QString unscrambleToString(const QString &text);
    QByteArray scrambleToBytes(const QByteArray &plain);
    QByteArray unscrambleToBytes(const QByteArray &data);

    static constexpr char Version = 3;
    static constexpr char FlagCompressed = 0x01;
    static constexpr char FlagChecksum = 0x02;
    static constexpr char FlagHash = 0x04;

private:
    QVector<char> m_keyParts;
    CompressionMode m_compressionMode = CompressionMode::Auto;
    IntegrityMode m_integrityMode = IntegrityMode::Checksum;
    ScramblerError m_lastError = ScramblerError::None;
};
