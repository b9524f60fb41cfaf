#include "zuicolor.h"

#include <QFile>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QTextCodec>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const std::array<const char *, ZUiColor::ColorCount> initialColors{{
    "#ff242424",
    "#ff282828",
    "#ff5b5b5b",
    "#ff1e1e1e",
    "#ff949494",
    "#ffe9eceb",
    "#ffff7700",
    "#fff17000",
    "#ff949494",
    "#ff0e0e0d",
    "#ff3e3e3e",
    "#ff404040",
    "#ff949494",
    "#ffc4c4c4",
    "#ff595959",
    "#ff595959",
    "#ff949494",
    "#ff949494",
    "#fff17000",
    "#fff17000",
    "#ff4e4e4e",
    "#ffe9eceb",
    "#ffc6c6c6",
    "#ffe9eceb",
    "#ffc9c9c9",
    "#ffc9c9c9",
    "#ffd8dad9",
    "#ff6d6d6d",
    "#ff525252",
    "#ff262626",
    "#ff222222",
    "#ff000000",
    "#ff717171",
    "#ff717171",
    "#ff000000",
    "#ff000000",
    "#ff252525",
    "#ff8c8c8c",
    "#ff000000",
    "#ff000000",
    "#ff000000",
    "#ff000000",
    "#ffe9eceb",
    "#ffa7a7a7",
    "#ff000000",
    "#ff959595",
    "#ff2c2c2c",
    "#ff2c2c2c",
    "#ff010101",
    "#ff010101",
    "#ff888888",
    "#ff757575",
    "#ff909090",
    "#ffdbdedd",
    "#ff1cffff"
}};

// A number v of the colours file carries red + green/256 + blue/65536, that is
// 0xRRGGBB as fixed point with 16 fraction bits. The script writes it as a float,
// so it is scaled in single precision as well.
QString decodeColor(const QString &token)
{
    bool ok = false;
    const float value = token.toFloat(&ok);
    qint32 fixed = 0;
    const float scaled = value * 65536.0F;
    // Converting a float beyond the 32-bit range is undefined; such a token is as
    // useless as one that is not a number, so both count as black.
    if (ok && std::isfinite(scaled) && scaled >= -2147483648.0F && scaled < 2147483648.0F)
        fixed = static_cast<qint32>(scaled);
    const quint32 bits = static_cast<quint32>(fixed) & 0xffffffU;
    return QStringLiteral("#ff%1").arg(bits, 6, 16, QLatin1Char('0'));
}

} // namespace

ZUiColor::ZUiColor(const QString &colorsFilePath, QObject *parent)
    : QObject(parent)
{
    for (int i = 0; i < ColorCount; ++i)
        m_colors[i] = QString::fromLatin1(initialColors[i]);
    load(colorsFilePath);
}

ZUiColor::~ZUiColor() = default;

void ZUiColor::load(const QString &path)
{
    if (!path.isEmpty())
        m_colorsFilePath = path;
    if (m_colorsFilePath.isEmpty())
        return;

    QFile file(m_colorsFilePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QByteArray bytes = file.readAll();
    file.close();

    // ZBrush pads the file; the text ends at the first zero byte.
    const int end = bytes.indexOf('\0');
    if (end >= 0)
        bytes.truncate(end);
    // ZBrush writes in the system's 8-bit code page.
    const QString text = QTextCodec::codecForLocale()->toUnicode(bytes).simplified();
    const QStringList tokens = text.split(QLatin1Char(','), Qt::KeepEmptyParts);

    const int count = std::min<int>(tokens.size(), ColorCount);
    for (int i = 0; i < count; ++i)
        m_colors[i] = decodeColor(tokens.at(i));
    notifyAll();
}

void ZUiColor::notifyAll()
{
    const QMetaObject *meta = metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        meta->property(i).notifySignal().invoke(this, Qt::DirectConnection);
}
