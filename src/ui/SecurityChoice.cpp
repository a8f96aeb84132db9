#include "ui/SecurityChoice.h"

#include <QComboBox>
#include <QLineEdit>

#include "core/NumberText.h"
#include "store/ConnectionSecurity.h"

namespace qlt::ui {

namespace {

constexpr std::uint8_t kSecurities[] = {kSecurityNone, kSecurityTls, kSecurityStls};

}  // namespace

QComboBox* makeSecurityChoice(QWidget* parent) {
    auto* choice = new QComboBox(parent);
    choice->setObjectName(QStringLiteral("security"));
    for (const std::uint8_t security : kSecurities)
        choice->addItem(QString::fromLatin1(SecurityName(security)), security);
    return choice;
}

std::optional<std::uint8_t> chosenSecurity(const QComboBox& choice) {
    if (choice.currentIndex() < 0) return std::nullopt;
    return static_cast<std::uint8_t>(choice.currentData().toUInt());
}

void showSecurity(QComboBox& choice, std::uint8_t security) {
    choice.setCurrentIndex(choice.findData(security));
}

void proposePortOnSecurityChange(QComboBox& choice, QLineEdit& port) {
    QObject::connect(&choice, &QComboBox::activated, &port, [&choice, &port] {
        const auto security = chosenSecurity(choice);
        const auto typed = parseUnsignedText(port.text().toStdString());
        if (!security || !typed) return;
        port.setText(QString::number(PortForSecurityChoice(*security, *typed)));
    });
}

}  // namespace qlt::ui
