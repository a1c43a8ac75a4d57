#pragma once

#include "search_view.h"

#include "dictionary/meaning_proposer.h"

namespace session {

// A search that found nothing in the book shows what the dictionaries give for the text
// instead, marked as theirs and with their names and licences. The view stays as it is
// when they give nothing.
void addDictionaryMeanings(SearchView& view, const dictionary::MeaningProposer& proposer,
                           const QString& text);

} // namespace session
