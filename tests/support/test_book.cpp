#include "test_book.h"

#include "book/cp932.h"
#include "book/record_file.h"

#include <QFile>

namespace testsupport {

namespace {

QString fullWidthDigits(int n) {
    QString text = QString::number(n);
    for (QChar& c : text)
        c = QChar(c.unicode() - u'0' + u'０');
    return text;
}

} // namespace

book::BookContent makeBookContent(int classCount, const QString& title) {
    book::BookContent content{title, {}};
    for (int k = 0; k < classCount; ++k) {
        book::BookClass bookClass{QStringLiteral("クラス") + fullWidthDigits(k), {}};
        for (int i = 1; i <= 50; ++i) {
            bookClass.words.append(
                {QStringLiteral("w%1_%2").arg(k).arg(i),
                 QStringLiteral("訳") + fullWidthDigits(k) + u'＿' + fullWidthDigits(i)});
        }
        content.classes.append(bookClass);
    }
    return content;
}

int writeBook(const QString& path, const book::BookContent& content) {
    QFile::remove(path);
    book::RecordFile file(path);
    if (!file.open(book::RecordFile::Access::Create) ||
        book::writeBookRecords(file, content) != book::WriteStatus::Ok)
        qFatal("cannot write test book %s", qPrintable(path));
    return int(content.classes.size()) * 51 + 1;
}

int writeBook(const QString& path, int classCount) {
    return writeBook(path, makeBookContent(classCount));
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QByteArray slotBytes(const QString& path, int recordNo) {
    return fileBytes(path).mid((recordNo - 1) * 128, 128);
}

book::WordRecord readRecord(const QString& path, int recordNo) {
    book::RecordFile file(path);
    file.open(book::RecordFile::Access::ReadOnly);
    return file.read(recordNo);
}

void writeRecord(const QString& path, int recordNo, const book::WordRecord& record) {
    book::RecordFile file(path);
    if (!file.open() || file.write(recordNo, record) != book::WriteStatus::Ok)
        qFatal("cannot write record %d of %s", recordNo, qPrintable(path));
}

QByteArray cp932Lines(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += book::encodeCp932Lossy(line) + "\r\n";
    return bytes;
}

} // namespace testsupport
