#pragma once
// Screen readers read a line edit through the toolkit's own interface,
// which gives them its text without the blanks of its input mask: a code
// field showing "1200" with "0" as the blank reads as "12". Marked here, an
// edit gives them what the screen shows instead.
class QLineEdit;

namespace sorvi {

// Call right after making `edit`, before anything asks for its interface.
void ReadAsShown(QLineEdit* edit);

}  // namespace sorvi
