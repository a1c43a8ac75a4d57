#include "text_file.h"

#include "cp932.h"

namespace book {

TextFileWriter::TextFileWriter(const QString& path) : file_(path) {}

bool TextFileWriter::open() {
    failed_ = !file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
    return !failed_;
}

bool TextFileWriter::writeLine(const QString& line) {
    const QByteArray bytes = encodeCp932Lossy(line) + "\r\n";
    if (!file_.isOpen() || file_.write(bytes) != bytes.size())
        failed_ = true;
    return !failed_;
}

QString signedBlank(long long value) {
    return value >= 0 ? u' ' + QString::number(value) : QString::number(value);
}

bool writeTextFile(const QString& path, const QStringList& lines) {
    TextFileWriter writer(path);
    writer.open();
    for (const QString& line : lines)
        writer.writeLine(line);
    writer.close();
    return !writer.failed();
}

QString readCp932File(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return decodeCp932(file.readAll());
}

} // namespace book
