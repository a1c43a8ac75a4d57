#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

namespace book {

// A text file of the program: CP932, one line per write, each ended by CR LF.
// A character that CP932 lacks is written as '?'.
class TextFileWriter {
public:
    explicit TextFileWriter(const QString& path);
    // Creates the file anew, replacing any old content.
    bool open();
    bool writeLine(const QString& line);
    bool isOpen() const { return file_.isOpen(); }
    // Whether any open or write so far has failed.
    bool failed() const { return failed_; }
    void close() { file_.close(); }
    QString path() const { return file_.fileName(); }

private:
    QFile file_;
    bool failed_ = false;
};

// An integer as the text files write counts: one blank in front of a value of 0 or
// more (" 3"), the minus sign in that place otherwise ("-3").
QString signedBlank(long long value);

// Writes all lines to a new file; false if the file could not be written whole.
bool writeTextFile(const QString& path, const QStringList& lines);

// The whole file decoded from CP932; empty when it is missing or unreadable.
QString readCp932File(const QString& path);

} // namespace book
