#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <cstring>

// The bytes of a command file for ZBrush: the fixed header, the action code as a
// little-endian float, then the command text and the path, each after an 'S' and
// closed by a zero byte. Built here byte by byte, apart from the code that writes it.
inline QByteArray zbrushCommand(float code, const QByteArray &text, const QByteArray &path = QByteArray())
{
    quint32 bits = 0;
    std::memcpy(&bits, &code, sizeof bits);
    QByteArray bytes = QByteArray::fromHex("e903000003000000") + 'F';
    for (int i = 0; i < 4; ++i)
        bytes.append(char((bits >> (8 * i)) & 0xff));
    return bytes + 'S' + text + '\0' + 'S' + path + '\0';
}
