#pragma once

#include "book/book_writer.h"
#include "book/record_map.h"

// A full book for the benchmarks: 24 classes of 50 words.
inline book::BookContent fullBookContent() {
    book::BookContent content{QStringLiteral("bench"), {}};
    for (int k = 0; k < book::kMaxClasses; ++k) {
        book::BookClass bookClass{QStringLiteral("class%1").arg(k), {}};
        for (int i = 0; i < book::kWordsPerClass; ++i)
            bookClass.words.append({QStringLiteral("word%1_%2").arg(k).arg(i),
                                    QStringLiteral("訳%1_%2").arg(k).arg(i)});
        content.classes.append(bookClass);
    }
    return content;
}
