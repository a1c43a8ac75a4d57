#include "class_box.h"

#include "book/record_map.h"
#include "platform/exact_text_box.h"
#include "views/weak_words.h"

namespace mainwin {

namespace {

// The item data that marks an entry as no class of the book.
constexpr int kKindRole = Qt::UserRole;

} // namespace

ClassBox::ClassBox(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("cboWordClass"));
    // A typed name is looked up as typed when a command reads it.
    platform::makeExactTextBox(this);
    // Every class of a full book and both reviews, without scrolling.
    setMaxVisibleItems(book::kMaxClasses + 2);
}

void ClassBox::showClasses(const QStringList& names, const QString& current) {
    const QSignalBlocker blocker(this);
    clear();
    addItems(names);
    // The reviews of the weak and of the due words are played like more classes.
    addItem(views::kWeakWordsEntry, int(session::ClassChoice::Kind::WeakWords));
    addItem(views::kDueWordsEntry, int(session::ClassChoice::Kind::DueWords));
    setEditText(current);
}

session::ClassChoice ClassBox::choice() const {
    // The review's entry counts while it is chosen and the box shows its text. A class is
    // named by its text, typed or chosen: the first class of that name, as a typed name
    // would find it.
    const auto kindOf = [this](int entry) { return itemData(entry, kKindRole); };
    const int chosen = currentIndex();
    if (chosen >= 0 && itemText(chosen) == currentText() && kindOf(chosen).isValid())
        return {session::ClassChoice::Kind(kindOf(chosen).toInt()), std::nullopt};
    const int named = findText(currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (named < 0)
        return session::ClassChoice::ofClass(std::nullopt);
    if (kindOf(named).isValid())
        return {session::ClassChoice::Kind(kindOf(named).toInt()), std::nullopt};
    return session::ClassChoice::ofClass(named);
}

} // namespace mainwin
