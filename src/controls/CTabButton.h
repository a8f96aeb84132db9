#pragma once

#include <QChar>
#include <QString>
#include <QWidget>

namespace qlt::controls {

// The caption as drawn with its mnemonic: an '&' before the first `mnemonic` letter (any case), the
// caption's own '&'s doubled. Without the letter in the caption, only the doubling.
QString mnemonicCaption(const QString& caption, QChar mnemonic);

// One of the page tabs under the page area.
class CTabButton : public QWidget {
    Q_OBJECT

  public:
    explicit CTabButton(int commandId, const QString& caption = QString(), QWidget* parent = nullptr);

    void setSelected(bool selected);
    bool isSelected() const { return m_bSelected; }
    // The caption is also the name screen readers announce.
    void setCaption(const QString& caption);
    const QString& caption() const { return m_strCaption; }
    int commandId() const { return m_nCommandId; }

    // Alt and this letter act as a click; the letter is underlined in the caption. A null letter: none.
    void setMnemonic(QChar letter);
    QChar mnemonic() const { return m_mnemonic; }

    int faceBitmap() const;

    QSize sizeHint() const override;

  signals:
    // A press on a tab that is not the selected one; the owner switches the page and the selection.
    void command(int commandId);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void activate();

    int m_nCommandId;
    bool m_bSelected = false;
    QString m_strCaption;
    QChar m_mnemonic;
    int m_nShortcutId = 0;
};

}  // namespace qlt::controls
