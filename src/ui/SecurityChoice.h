#pragma once

#include <cstdint>
#include <optional>

class QComboBox;
class QLineEdit;
class QWidget;

namespace qlt::ui {

// The drop-down list of connection securities: "None", "TLS", "STLS".
QComboBox* makeSecurityChoice(QWidget* parent);

// The security chosen; nothing while the list shows no entry (a stored value
// this version does not know).
std::optional<std::uint8_t> chosenSecurity(const QComboBox& choice);

void showSecurity(QComboBox& choice, std::uint8_t security);

// When the user picks another security, a port field holding the usual port
// of the previous choice takes the usual port of the new one (110 <-> 995).
void proposePortOnSecurityChange(QComboBox& choice, QLineEdit& port);

}  // namespace qlt::ui
