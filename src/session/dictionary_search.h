#pragma once

#include "dictionary/meaning_proposer.h"
#include "views/search_view.h"

namespace session {

// A search that found nothing in the book shows what the dictionaries give for the text
// instead, marked as theirs and with their names and licences. The view stays as it is
// when they give nothing.
void addDictionaryMeanings(views::SearchView& view, const dictionary::MeaningProposer& proposer,
                           const QString& text);

} // namespace session
