#pragma once

#include <cstdint>

#include "base/UiPort.h"

class QLineEdit;
class QWidget;

namespace qlt::ui {

// An edit that takes digits only, as the port, time-out and minutes fields.
QLineEdit* makeDigitsEdit(QWidget* parent);

// Reads a number field into its variable. A text that is not a whole number
// of the field's kind ("Please enter an integer." / "Please enter a positive
// integer.") is shown in an OK box, the field takes the focus and the
// variable keeps its value; false then.
bool readIntegerField(QLineEdit& edit, std::int32_t& value, UiPort& ui);
bool readUnsignedField(QLineEdit& edit, std::uint32_t& value, UiPort& ui);

}  // namespace qlt::ui
