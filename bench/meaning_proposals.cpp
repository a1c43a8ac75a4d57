// How often the proposed meanings agree with a word book's own (bench/meaning_proposals.sh).
// A proposal agrees with the book's meaning when, after removing "～" and bracketed asides
// (（…）, (…), […], ［…］, 〔…〕) from both, it equals one of the book meaning's parts
// (split at 、，,；;) or one contains the other.
#include "dictionary/meaning_proposer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

#include <cstdio>
#include <ctime>

namespace {

QString withoutAsides(QString text) {
    static const QRegularExpression asides(
        QStringLiteral("（[^）]*）|\\([^)]*\\)|\\[[^\\]]*\\]|［[^］]*］|〔[^〕]*〕"));
    text.remove(asides);
    text.remove(u'～');
    text.remove(u'〜');
    return text.trimmed();
}

bool agrees(const QString& proposal, const QString& bookMeaning) {
    const QString offered = withoutAsides(proposal);
    if (offered.isEmpty())
        return false;
    static const QRegularExpression separators(QStringLiteral("[、，,；;]"));
    for (const QString& rawPart : bookMeaning.split(separators, Qt::SkipEmptyParts)) {
        const QString part = withoutAsides(rawPart);
        if (!part.isEmpty() && (part.contains(offered) || offered.contains(part)))
            return true;
    }
    return false;
}

// The processor time of this thread: the machine may be busy with other work.
double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: %s BOOK.tsv [--misses]\n", qPrintable(args[0]));
        return 2;
    }
    QFile file(args[1]);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    QList<std::pair<QString, QString>> words;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const QStringList fields = line.split(u'\t');
        if (fields.size() >= 3 && !line.startsWith(u'#'))
            words.append({fields[1], fields[2].trimmed()});
    }

    QElapsedTimer clock;
    clock.start();
    double cpuStart = cpuSeconds();
    const dictionary::MeaningProposer proposer;
    const double loadSeconds = double(clock.nsecsElapsed()) / 1e9;
    const double loadCpuSeconds = cpuSeconds() - cpuStart;
    if (!proposer.hasDictionaries()) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(dictionary::MeaningProposer::missingText().english));
        return 1;
    }

    const bool showMisses = args.contains(QStringLiteral("--misses"));
    QTextStream out(stdout);
    int first = 0;
    int firstThree = 0;
    int none = 0;
    clock.restart();
    cpuStart = cpuSeconds();
    QList<QList<dictionary::Proposal>> all;
    for (const auto& [english, japanese] : words)
        all.append(proposer.proposalsFor(english, 3));
    const double wordSeconds = double(clock.nsecsElapsed()) / 1e9 / double(words.size());
    const double wordCpuSeconds = (cpuSeconds() - cpuStart) / double(words.size());
    for (qsizetype i = 0; i < words.size(); ++i) {
        const auto& [english, japanese] = words[i];
        const QList<dictionary::Proposal>& proposals = all[i];
        int agreedAt = -1;
        for (int p = 0; p < proposals.size() && agreedAt < 0; ++p) {
            if (agrees(proposals[p].meaning, japanese))
                agreedAt = p;
        }
        first += agreedAt == 0;
        firstThree += agreedAt >= 0;
        none += proposals.isEmpty();
        if (showMisses && agreedAt != 0) {
            QStringList shown;
            for (const auto& proposal : proposals)
                shown.append(proposal.meaning);
            out << (agreedAt < 0 ? "MISS " : "LATE ") << english << "\t" << japanese << "\t"
                << shown.join(QStringLiteral(" | ")) << "\n";
        }
    }
    const double n = double(words.size());
    out << "words: " << words.size() << "\n"
        << "book meaning first: " << first << " (" << QString::number(100.0 * first / n, 'f', 1)
        << " %)\n"
        << "book meaning among the first three: " << firstThree << " ("
        << QString::number(100.0 * firstThree / n, 'f', 1) << " %)\n"
        << "words without a proposal: " << none << "\n"
        << "loading the dictionaries: " << QString::number(loadSeconds * 1000, 'f', 1)
        << " ms (processor time " << QString::number(loadCpuSeconds * 1000, 'f', 1) << " ms)\n"
        << "per word (three proposals): " << QString::number(wordSeconds * 1e6, 'f', 1)
        << " µs (processor time " << QString::number(wordCpuSeconds * 1e6, 'f', 1) << " µs)\n";
    return 0;
}
