#include "drill_rig.h"

#include "test_book.h"

#include "book/text_file.h"

namespace drilltest {

double ScriptedRandom::next() {
    ++draws_;
    if (!queue_.empty()) {
        const double value = queue_.front();
        queue_.pop_front();
        return value;
    }
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator_);
}

DrillRig::DrillRig(int classCount)
    : bookPath(dir.filePath(QStringLiteral("Word.dat"))),
      resultPath(dir.filePath(QStringLiteral("result.txt"))) {
    eofRecord = testsupport::writeBook(bookPath, classCount);
    file = std::make_unique<book::RecordFile>(bookPath);
    file->open();
    engine = std::make_unique<drill::DrillEngine>(*file, random, clock, speaker, host);
    host.engine = engine.get();
}

drill::StartResult DrillRig::start(book::Mode mode, const QString& className) {
    return engine->start({className, mode, eofRecord, resultPath});
}

void DrillRig::select(const QString& text) {
    engine->setAnswerText(text);
    engine->cmbInputField_click();
}

void DrillRig::isolate(int picked, double top) {
    for (int i = 0; i < drill::kDropCount; ++i)
        s().lblDropWord[i].top = i == picked ? top : -100000;
}

book::WordRecord DrillRig::wordOf(int drop) const {
    return testsupport::readRecord(bookPath, engine->state().dropRecord[drop].toInt());
}

QStringList DrillRig::resultLines() const {
    QString text = book::readCp932File(resultPath);
    if (text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    return text.split(QStringLiteral("\r\n"));
}

} // namespace drilltest
