#pragma once

#include <QWidget>
#include <memory>

#include "base/UiPort.h"
#include "core/MailChecker.h"
#include "ui/PreviewFont.h"

namespace qlt::controls {
class CFlatButton;
}

namespace qlt::ui {

class MessageTextEdit;

// "Preview": the plain-text start of the selected message in the user's
// preview font, and the Font button that changes it. The chosen font goes
// into the settings and is stored with them.
class PreviewPage : public QWidget {
    Q_OBJECT

  public:
    PreviewPage(MailChecker& checker, UiPort& ui, QWidget* parent = nullptr);
    ~PreviewPage() override;

    // Shows the selected message's preview again.
    void refreshPage();

    // The Font button: asks the chooser, keeps and shows the chosen font.
    void chooseFont();

    // Where the Font button asks for a font (the system's font chooser
    // unless told otherwise); the chooser must outlive the page.
    void setFontChooser(FontChooser& chooser) { m_chooser = &chooser; }

    QString shownText() const;
    QFont shownFont() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    MailChecker& m_checker;
    std::unique_ptr<FontChooser> m_systemChooser;
    FontChooser* m_chooser;
    MessageTextEdit* m_text;
    controls::CFlatButton* m_fontButton;
};

}  // namespace qlt::ui
