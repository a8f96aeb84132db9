#pragma once

#include <QWidget>
#include <array>

#include "base/UiPort.h"
#include "core/MailChecker.h"
#include "core/MessageDetails.h"

class QGridLayout;
class QGroupBox;
class QLabel;

namespace qlt::controls {
class CBitmapLamp;
}

namespace qlt::ui {

// "Details": the selected message's sender, size, recipient, subject, date,
// id, attachments and content type, with a lamp and reason code for each of
// the four risks; the reason in words is the tooltip of its lamp and code.
class DetailsPage : public QWidget {
    Q_OBJECT

  public:
    DetailsPage(MailChecker& checker, UiPort& ui, QWidget* parent = nullptr);

    // Shows the selected message again.
    void refreshPage();

    // What the page shows now.
    const MessageDetails& shown() const { return m_shown; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QLabel* addValueRow(const QString& label, const char* name, int lines);
    QGroupBox* buildRiskBox();
    void showDetails();

    MailChecker& m_checker;
    MessageDetails m_shown;
    QLabel* m_from = nullptr;
    QLabel* m_size = nullptr;
    QLabel* m_to = nullptr;
    QLabel* m_subject = nullptr;
    QLabel* m_date = nullptr;
    QLabel* m_uidl = nullptr;
    QLabel* m_attachments = nullptr;
    QLabel* m_contentType = nullptr;
    std::array<QLabel*, kDetailRiskRows> m_reasons{};
    std::array<controls::CBitmapLamp*, kDetailRiskRows> m_lamps{};
    QGridLayout* m_fields;
};

}  // namespace qlt::ui
