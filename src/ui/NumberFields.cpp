#include "ui/NumberFields.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "core/NumberText.h"
#include "store/BuiltInTexts.h"

namespace qlt::ui {

namespace {

template <class T, class Parse>
bool readField(QLineEdit& edit, T& value, UiPort& ui, Parse parse, const char* refusal) {
    const auto number = parse(edit.text().toStdString());
    if (!number) {
        ui.messageBox(kProgramName, refusal, BoxIcon::Warning, BoxButtons::Ok);
        edit.setFocus();
        return false;
    }
    value = *number;
    return true;
}

}  // namespace

QLineEdit* makeDigitsEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}

bool readIntegerField(QLineEdit& edit, std::int32_t& value, UiPort& ui) {
    return readField(edit, value, ui, parseIntegerText, kNotAnInteger);
}

bool readUnsignedField(QLineEdit& edit, std::uint32_t& value, UiPort& ui) {
    return readField(edit, value, ui, parseUnsignedText, kNotAPositiveInteger);
}

}  // namespace qlt::ui
