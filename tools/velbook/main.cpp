// velbook: the command line over the word book code in src/book.
#include "arguments.h"
#include "book/book_check.h"
#include "book/book_lists.h"
#include "book/file_report.h"
#include "book/whole_file.h"
#include "dictionary/meaning_proposer.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

using namespace velbook;

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

int runCreate(const Request& request) {
    const QStringList& paths = request.paths;
    std::unique_ptr<dictionary::MeaningProposer> proposer;
    book::ListMeanings meanings;
    if (request.meanings) {
        proposer = std::make_unique<dictionary::MeaningProposer>();
        if (!proposer->hasDictionaries()) {
            err() << "velbook: " << dictionary::MeaningProposer::missingText().english << "\n";
            return Refused;
        }
        meanings.proposals = [&](const QString& english) {
            return proposer->meaningsFor(english, dictionary::MeaningProposer::kListProposals);
        };
    }
    const QStringList problems = book::createBookFromList(paths[0], paths[1], request.title,
                                                          request.meanings ? &meanings : nullptr);
    for (const QString& problem : problems)
        err() << problem << "\n";
    if (request.meanings) {
        err() << "velbook: " << meanings.filled.size()
              << (meanings.filled.size() == 1 ? " meaning" : " meanings")
              << " filled from the dictionaries";
        if (!meanings.unfilled.isEmpty()) {
            QStringList words;
            for (const book::ListMeanings::Row& row : std::as_const(meanings.unfilled))
                words.append(row.english);
            err() << "; none found for " << words.size()
                  << (words.size() == 1 ? " word: " : " words: ") << words.join(u", ");
        }
        err() << "\n";
        if (!meanings.filled.isEmpty())
            err() << proposer->sourcesText().english << "\n";
    }
    if (!problems.isEmpty()) {
        err() << "velbook: " << paths[1] << " was not written\n";
        return Refused;
    }
    return Success;
}

int runExport(const Request& request) {
    const QString& bookPath = request.paths.constFirst();
    if (request.output && book::isSameFile(bookPath, *request.output)) {
        err() << *request.output
              << ": the list would replace the book it is exported from; name another file for "
                 "the list\n";
        return Refused;
    }

    QString error;
    const std::optional<QByteArray> tsv = book::exportBookTsv(bookPath, &error);
    if (!tsv) {
        err() << bookPath << ": " << error << "\n";
        return Refused;
    }
    if (!request.output) {
        out().flush();
        if (std::fwrite(tsv->constData(), 1, size_t(tsv->size()), stdout) == size_t(tsv->size()) &&
            std::fflush(stdout) == 0)
            return Success;
        const QString why =
            book::fileFailureText(book::failureFromSystemText(qt_error_string(errno)), QString());
        err() << "velbook: cannot write to standard output: " << why << "\n";
        return Refused;
    }
    const QString& outPath = *request.output;
    book::FileFailure failure;
    if (!book::writeWholeFile(outPath, *tsv, &failure)) {
        err() << outPath << ": cannot write the file: " << book::fileFailureText(failure, outPath)
              << "\n";
        return Refused;
    }
    return Success;
}

int runCheck(const Request& request) {
    const QString& bookPath = request.paths.constFirst();

    const book::BookCheck check = book::checkBook(bookPath);
    switch (check.verdict) {
    case book::BookVerdict::Valid:
        out() << bookPath << ": valid word book \"" << check.title << "\", " << check.classes
              << (check.classes == 1 ? " class\n" : " classes\n");
        break;
    case book::BookVerdict::Obsolete:
        out() << bookPath << ": obsolete word book\n";
        break;
    case book::BookVerdict::Broken:
        out() << bookPath << ": broken word book\n";
        break;
    }
    for (const QString& problem : check.problems)
        out() << "  " << problem << "\n";
    for (const QString& warning : check.warnings)
        out() << "  warning: " << warning << "\n";
    return check.verdict == book::BookVerdict::Valid ? Success : Refused;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velbook"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELTYPING_VERSION));

    const Request request = parseArguments(QCoreApplication::arguments());
    switch (request.command) {
    case Request::Command::Create:
        return runCreate(request);
    case Request::Command::Export:
        return runExport(request);
    case Request::Command::Check:
        return runCheck(request);
    case Request::Command::None:
        break;
    }
    out() << request.out;
    err() << request.err;
    return request.exit;
}
