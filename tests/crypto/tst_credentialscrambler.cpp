#include "crypto/credentialscrambler.h"
#include "crypto/storecredentialkey.h"

#include <QCryptographicHash>
#include <QSet>
#include <QtTest>

using Compression = CredentialScrambler::CompressionMode;
using Integrity = CredentialScrambler::IntegrityMode;
using Error = CredentialScrambler::ScramblerError;

Q_DECLARE_METATYPE(CredentialScrambler::CompressionMode)
Q_DECLARE_METATYPE(CredentialScrambler::IntegrityMode)
Q_DECLARE_METATYPE(CredentialScrambler::ScramblerError)

namespace {
constexpr quint64 TestKey = Q_UINT64_C(0x0807060504030201);
const QString LongText = QString(QStringLiteral("password-password-")).repeated(40);
}

class TestCredentialScrambler : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void layoutFollowsFormat();
    void sameTextTwiceDiffers();
    void flippedBitFailsIntegrity_data();
    void flippedBitFailsIntegrity();
    void rejectsWhatIsNotScrambled_data();
    void rejectsWhatIsNotScrambled();
    void noKeySet();
    void otherKeyFails();
    void storeKeyStaysTheSame();
};

void TestCredentialScrambler::roundTrip_data()
{
    QTest::addColumn<Compression>("compression");
    QTest::addColumn<Integrity>("integrity");
    QTest::addColumn<QString>("text");
    QTest::addColumn<char>("flags");

    const QString unicode = QStringLiteral("Пароль-密码-\u00e9\U0001F511");
    QTest::newRow("auto, checksum, empty") << Compression::Auto << Integrity::Checksum << QString() << char(0x02);
    QTest::newRow("auto, checksum, short") << Compression::Auto << Integrity::Checksum << unicode << char(0x02);
    QTest::newRow("auto, checksum, long") << Compression::Auto << Integrity::Checksum << LongText << char(0x03);
    QTest::newRow("auto, none, long") << Compression::Auto << Integrity::None << LongText << char(0x01);
    QTest::newRow("auto, hash, short") << Compression::Auto << Integrity::Hash << unicode << char(0x04);
    QTest::newRow("always, checksum, short") << Compression::Always << Integrity::Checksum << unicode << char(0x03);
    QTest::newRow("always, none, empty") << Compression::Always << Integrity::None << QString() << char(0x01);
    QTest::newRow("always, hash, long") << Compression::Always << Integrity::Hash << LongText << char(0x05);
    QTest::newRow("never, checksum, long") << Compression::Never << Integrity::Checksum << LongText << char(0x02);
    QTest::newRow("never, none, short") << Compression::Never << Integrity::None << unicode << char(0x00);
    QTest::newRow("never, hash, empty") << Compression::Never << Integrity::Hash << QString() << char(0x04);
}

void TestCredentialScrambler::roundTrip()
{
    QFETCH(Compression, compression);
    QFETCH(Integrity, integrity);
    QFETCH(QString, text);
    QFETCH(char, flags);

    CredentialScrambler scrambler(TestKey);
    scrambler.setCompressionMode(compression);
    scrambler.setIntegrityMode(integrity);
    const QString scrambled = scrambler.scrambleToString(text);
    QCOMPARE(scrambler.lastError(), Error::None);
    QVERIFY(!scrambled.contains(text.isEmpty() ? QStringLiteral("\x01") : text));

    const QByteArray raw = QByteArray::fromBase64(scrambled.toLatin1());
    QCOMPARE(raw.at(0), char(3));
    QCOMPARE(raw.at(1), flags);

    // A reader with default modes takes everything from the flags.
    CredentialScrambler reader(TestKey);
    QCOMPARE(reader.unscrambleToString(scrambled), text);
    QCOMPARE(reader.lastError(), Error::None);
}

// Decodes by the written layout, independently of the scrambler's own code:
// version, flags, then body[p] = plain[p] ^ key byte (p mod 8, low byte first)
// ^ previous stored byte.
void TestCredentialScrambler::layoutFollowsFormat()
{
    CredentialScrambler scrambler(TestKey);
    scrambler.setCompressionMode(Compression::Never);
    const QByteArray plain("store-user@example.com");
    const QByteArray data = scrambler.scrambleToBytes(plain);
    QCOMPARE(data.size(), 2 + 1 + 2 + plain.size());

    const auto unmask = [](const QByteArray &stored) {
        QByteArray body;
        uchar last = 0;
        for (int p = 2; p < stored.size(); ++p) {
            const uchar byte = uchar(stored.at(p));
            body.append(char(byte ^ uchar((TestKey >> (8 * ((p - 2) % 8))) & 0xff) ^ last));
            last = byte;
        }
        return body;
    };
    const QByteArray body = unmask(data);
    const quint16 checksum = qChecksum(plain.constData(), uint(plain.size()));
    QCOMPARE(uchar(body.at(1)), uchar(checksum >> 8));
    QCOMPARE(uchar(body.at(2)), uchar(checksum & 0xff));
    QCOMPARE(body.mid(3), plain);

    scrambler.setIntegrityMode(Integrity::Hash);
    const QByteArray hashBody = unmask(scrambler.scrambleToBytes(plain));
    QCOMPARE(hashBody.mid(1, 20), QCryptographicHash::hash(plain, QCryptographicHash::Sha1));
    QCOMPARE(hashBody.mid(21), plain);
}

void TestCredentialScrambler::sameTextTwiceDiffers()
{
    CredentialScrambler scrambler(TestKey);
    QSet<QString> results;
    for (int i = 0; i < 16; ++i) {
        const QString scrambled = scrambler.scrambleToString(QStringLiteral("secret"));
        QCOMPARE(scrambler.unscrambleToString(scrambled), QStringLiteral("secret"));
        results.insert(scrambled);
    }
    // One random byte: sixteen equal results would take a broken generator.
    QVERIFY(results.size() > 1);
}

void TestCredentialScrambler::flippedBitFailsIntegrity_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("user name") << QStringLiteral("store-user@example.com");
    QTest::newRow("one character") << QStringLiteral("x");
    QTest::newRow("long, compressed") << LongText;
}

void TestCredentialScrambler::flippedBitFailsIntegrity()
{
    QFETCH(QString, text);
    CredentialScrambler scrambler(TestKey);
    const QByteArray data = QByteArray::fromBase64(scrambler.scrambleToString(text).toLatin1());
    for (int byte = 2; byte < data.size(); ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            QByteArray damaged = data;
            damaged[byte] = char(damaged.at(byte) ^ (1 << bit));
            const QString result = scrambler.unscrambleToString(QString::fromLatin1(damaged.toBase64()));
            QVERIFY2(result.isEmpty() && scrambler.lastError() == Error::IntegrityFailed,
                     qPrintable(QStringLiteral("byte %1 bit %2").arg(byte).arg(bit)));
        }
    }
}

void TestCredentialScrambler::rejectsWhatIsNotScrambled_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<Error>("error");

    CredentialScrambler scrambler(TestKey);
    QByteArray version2 = scrambler.scrambleToBytes("secret");
    version2[0] = 2;
    QTest::newRow("version 2") << version2 << Error::WrongVersion;
    QTest::newRow("two bytes") << QByteArray("\x03\x02", 2) << Error::WrongVersion;
    QTest::newRow("empty") << QByteArray() << Error::WrongVersion;
    QTest::newRow("plain text") << QByteArray("not scrambled at all") << Error::WrongVersion;
    QTest::newRow("checksum flag, nothing behind") << QByteArray("\x03\x02\x00", 3) << Error::IntegrityFailed;
    QTest::newRow("hash flag, short body") << QByteArray("\x03\x04\x00\x01\x02", 5) << Error::IntegrityFailed;

    // Integrity off and a compressed payload that is not one.
    scrambler.setIntegrityMode(Integrity::None);
    scrambler.setCompressionMode(Compression::Never);
    QByteArray fakeCompressed = scrambler.scrambleToBytes(QByteArray("\x7f\xff\xff\xff junk", 9));
    fakeCompressed[1] = 0x01;
    QTest::newRow("compressed flag, huge claimed size") << fakeCompressed << Error::IntegrityFailed;
    QByteArray brokenStream = scrambler.scrambleToBytes(QByteArray("\x00\x00\x00\x05junkjunk", 12));
    brokenStream[1] = 0x01;
    QTest::newRow("compressed flag, broken stream") << brokenStream << Error::IntegrityFailed;
}

void TestCredentialScrambler::rejectsWhatIsNotScrambled()
{
    QFETCH(QByteArray, data);
    QFETCH(Error, error);
    CredentialScrambler scrambler(TestKey);
    QVERIFY(scrambler.unscrambleToBytes(data).isEmpty());
    QCOMPARE(scrambler.lastError(), error);
}

void TestCredentialScrambler::noKeySet()
{
    CredentialScrambler scrambler;
    QVERIFY(scrambler.scrambleToBytes("secret").isEmpty());
    QCOMPARE(scrambler.lastError(), Error::NoKeySet);

    CredentialScrambler keyed(TestKey);
    const QByteArray data = keyed.scrambleToBytes("secret");
    QVERIFY(scrambler.unscrambleToBytes(data).isEmpty());
    QCOMPARE(scrambler.lastError(), Error::NoKeySet);

    scrambler.setKey(TestKey);
    QCOMPARE(scrambler.unscrambleToBytes(data), QByteArray("secret"));
}

void TestCredentialScrambler::otherKeyFails()
{
    CredentialScrambler writer(TestKey);
    CredentialScrambler reader(TestKey ^ 0x0100);
    QVERIFY(reader.unscrambleToString(writer.scrambleToString(QStringLiteral("secret"))).isEmpty());
    QCOMPARE(reader.lastError(), Error::IntegrityFailed);
}

// Written once with the store key; if this fails, stored logins stop decoding.
void TestCredentialScrambler::storeKeyStaysTheSame()
{
    CredentialScrambler scrambler(StoreCredentialKey);
    QCOMPARE(scrambler.unscrambleToString(QStringLiteral("AwJNk1SP5VSUkuR8fb7YbQ==")),
             QStringLiteral("kivara-user"));
    QCOMPARE(scrambler.lastError(), Error::None);
}

QTEST_GUILESS_MAIN(TestCredentialScrambler)
#include "tst_credentialscrambler.moc"
