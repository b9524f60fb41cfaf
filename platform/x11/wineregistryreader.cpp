#include "wineregistryreader.h"

#include <QFile>
#include <QTextStream>

namespace {

int digitValue(QChar c, int base)
{
    const ushort u = c.unicode();
    int v = -1;
    if (u >= '0' && u <= '9')
        v = u - '0';
    else if (u >= 'a' && u <= 'f')
        v = u - 'a' + 10;
    else if (u >= 'A' && u <= 'F')
        v = u - 'A' + 10;
    return v < base ? v : -1;
}

// A value's data when it is text: "..." or str(2):"..." (expandable).
bool parseTextData(const QString &line, int pos, QString *data)
{
    if (line.midRef(pos).startsWith(QLatin1String("str(2):")))
        pos += 7;
    if (pos >= line.size() || line.at(pos) != QLatin1Char('"'))
        return false;
    int end = 0;
    *data = WineRegistryReader::unescape(line, pos + 1, QLatin1Char('"'), &end);
    return end < line.size();
}

} // namespace

QString WineRegistryReader::Key::value(const QString &valueName) const
{
    for (const auto &v : values) {
        if (v.first.compare(valueName, Qt::CaseInsensitive) == 0)
            return v.second;
    }
    return QString();
}

QString WineRegistryReader::unescape(const QString &text, int from, QChar terminator, int *end)
{
    static const char controls[][2] = {{'a', '\a'}, {'b', '\b'}, {'t', '\t'}, {'n', '\n'},
                                       {'v', '\v'}, {'f', '\f'}, {'r', '\r'}, {'e', '\x1b'}};
    QString out;
    int i = from;
    while (i < text.size() && text.at(i) != terminator) {
        const QChar c = text.at(i++);
        if (c != QLatin1Char('\\') || i >= text.size()) {
            out.append(c);
            continue;
        }
        const QChar e = text.at(i++);
        if (e == QLatin1Char('x')) {
            // Up to four hex digits: one UTF-16 unit.
            uint unit = 0;
            int digits = 0;
            while (digits < 4 && i < text.size() && digitValue(text.at(i), 16) >= 0) {
                unit = unit * 16 + uint(digitValue(text.at(i++), 16));
                ++digits;
            }
            out.append(digits ? QChar(ushort(unit)) : QChar(QLatin1Char('x')));
            continue;
        }
        if (digitValue(e, 8) >= 0) {
            uint unit = uint(digitValue(e, 8));
            for (int digits = 1; digits < 3 && i < text.size() && digitValue(text.at(i), 8) >= 0; ++digits)
                unit = unit * 8 + uint(digitValue(text.at(i++), 8));
            out.append(QChar(ushort(unit)));
            continue;
        }
        QChar decoded = e;
        for (const auto &control : controls) {
            if (e == QLatin1Char(control[0]))
                decoded = QLatin1Char(control[1]);
        }
        out.append(decoded);
    }
    *end = i;
    return out;
}

QList<WineRegistryReader::Key> WineRegistryReader::subkeys(const QString &filePath, const QString &parentKey)
{
    QList<Key> keys;
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    QTextStream in(&file);
    in.setCodec("UTF-8");

    const QString prefix = parentKey + QLatin1Char('\\');
    bool inSubkey = false;
    QString line;
    while (in.readLineInto(&line)) {
        if (line.startsWith(QLatin1Char('['))) {
            int end = 0;
            const QString name = unescape(line, 1, QLatin1Char(']'), &end);
            // Only direct children: deeper keys and other branches are skipped.
            inSubkey = end < line.size() && name.size() > prefix.size()
                && name.startsWith(prefix, Qt::CaseInsensitive)
                && name.indexOf(QLatin1Char('\\'), prefix.size()) < 0;
            if (inSubkey)
                keys.append(Key{name.mid(prefix.size()), {}});
            continue;
        }
        if (!inSubkey || !line.startsWith(QLatin1Char('"')))
            continue;
        int end = 0;
        const QString valueName = unescape(line, 1, QLatin1Char('"'), &end);
        if (end + 1 >= line.size() || line.at(end + 1) != QLatin1Char('='))
            continue;
        QString data;
        if (parseTextData(line, end + 2, &data))
            keys.last().values.append(qMakePair(valueName, data));
    }
    return keys;
}
