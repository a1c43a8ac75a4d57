#pragma once

#include "word_list_open.h"

#include "dictionary/meaning_proposer.h"

#include <QStringList>

#include <functional>

namespace session {

// Proposes meanings for the rows of a refused list that give none (a list of English
// words alone, or rows with the Japanese left empty), from the dictionaries. Each such row
// goes into `list.toChoose` with its proposals; the list then waits for the learner's
// choice (withMeanings) unless a problem other than a missing meaning refuses it. Without
// dictionaries the list stays refused, and the refusal says which packages bring them.
void proposeMeanings(ListToOpen& list, const dictionary::MeaningProposer& proposer);

// The dictionaries' proposer, asked for only when it is needed, as it loads them.
using ProposerAccess = std::function<const dictionary::MeaningProposer&()>;

// A list refused with rows that give no meaning takes the proposals of the dictionaries
// (proposeMeanings); any other list stays as it is, and the dictionaries are not loaded.
void proposeMissingMeanings(ListToOpen& list, const ProposerAccess& proposer);

// Whether the list has rows that give no meaning.
bool lacksMeanings(const QByteArray& bytes);

// The list with the learner's `meanings` for its rows to choose, in their order, taken as
// if the list gave them: read and checked again, as velbook create checks a list.
ListToOpen withMeanings(const ListToOpen& list, const QStringList& meanings);

// Why the learner's meanings cannot make the book, as listRefusalText says it; empty when
// they can.
QString meaningsProblem(const ListToOpen& list, const QStringList& meanings);

// The confirmation's text: how many meanings were proposed, the words none was found for,
// and where the proposals came from.
QString meaningsConfirmationText(const ListToOpen& list);

} // namespace session
