#pragma once

#include <QStringList>

#include <cstddef>
#include <cstdint>

// A fuzz input as a command line: the program's name, then the arguments the bytes hold,
// separated by NUL bytes.
inline QStringList commandLineFromBytes(const char* program, const uint8_t* data, size_t size) {
    QStringList arguments{QString::fromLatin1(program)};
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QByteArray& argument : bytes.split('\0'))
        arguments << QString::fromLocal8Bit(argument);
    return arguments;
}
