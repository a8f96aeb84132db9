#pragma once

class QAbstractScrollArea;
class QLabel;

namespace qlt::ui {

// What the empty message list says while no account exists.
inline constexpr char kFirstRunText[] =
    "No account yet. Open the Accounts page to add one, or start `quillgate --demo` to try a sample "
    "mailbox.";

// The first-run note, centred over `view`'s rows (object name "firstRunNote");
// clicks go through it to the view.
QLabel* addFirstRunNote(QAbstractScrollArea& view);

}  // namespace qlt::ui
