#pragma once

class QComboBox;

namespace platform {

// Makes `box` an editable box whose typed text stays exactly as typed: no completion,
// no entry added, and no entry taken as chosen because the typed text matches it. Only
// choosing from the list (mouse, or the keyboard in the open list or on the closed box)
// emits `activated`; whoever reads the text later gets what the learner typed.
void makeExactTextBox(QComboBox* box);

} // namespace platform
