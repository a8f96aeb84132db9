#pragma once

#include <QWidget>

#include "base/UiPort.h"
#include "core/MailChecker.h"

namespace qlt::ui {

class MessageTextEdit;

// "Headers": the raw header block of the selected message, white on grey in
// a fixed-pitch face.
class HeadersPage : public QWidget {
    Q_OBJECT

  public:
    HeadersPage(MailChecker& checker, UiPort& ui, QWidget* parent = nullptr);

    // Shows the selected message's header block again.
    void refreshPage();

    QString shownText() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    MailChecker& m_checker;
    MessageTextEdit* m_text;
};

}  // namespace qlt::ui
