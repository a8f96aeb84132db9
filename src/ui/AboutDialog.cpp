#include "ui/AboutDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStyle>
#include <QVBoxLayout>

#include "core/ProgramVersion.h"
#include "ui/PageLook.h"

namespace qlt::ui {

namespace {

constexpr int kIconSize = 32;

constexpr char kAboutText[] =
    "Quillgate looks at your POP3 mailboxes before your e-mail program does.\n\n"
    "It reads only the headers and the first lines of each message, rates every message for viruses, "
    "spam, adult content, foul language and your own strings, and lets you delete the unwanted ones on "
    "the server without ever downloading them.\n\n"
    "Then it starts your e-mail program to receive what is left.";

QIcon programIcon(const QWidget& widget) {
    const QIcon icon = QApplication::windowIcon();
    return icon.isNull() ? widget.style()->standardIcon(QStyle::SP_MessageBoxInformation) : icon;
}

}  // namespace

AboutDialog::AboutDialog(const std::string& buildText, QWidget* parent)
    : QDialog(parent),
      m_product(new QLabel(QStringLiteral("Quillgate 1.72 "), this)),
      m_build(
          new QLabel(QStringLiteral("Build: ") + QString::fromStdString(qlt::buildText(buildText)), this)) {
    setWindowTitle(QStringLiteral("About Quillgate"));

    auto* icon = new QLabel(this);
    icon->setPixmap(programIcon(*this).pixmap(kIconSize, kIconSize));
    auto* lines = new QVBoxLayout;
    lines->addWidget(m_product);
    lines->addWidget(m_build);
    auto* heading = new QHBoxLayout;
    heading->addWidget(icon);
    heading->addLayout(lines, 1);

    auto* text = new QPlainTextEdit(QString::fromLatin1(kAboutText), this);
    text->setObjectName(QStringLiteral("aboutText"));
    text->setReadOnly(true);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &AboutDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(text, 1);
    layout->addWidget(buttons);
    fitFieldsToFonts(*this);
}

QString AboutDialog::productLine() const {
    return m_product->text();
}

QString AboutDialog::buildLine() const {
    return m_build->text();
}

}  // namespace qlt::ui
