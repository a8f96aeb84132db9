#pragma once

#include <QString>
#include <QWidget>

namespace qlt::controls {

// One of the page tabs under the page area.
class CTabButton : public QWidget {
    Q_OBJECT

  public:
    explicit CTabButton(int commandId, const QString& caption = QString(), QWidget* parent = nullptr);

    void setSelected(bool selected);
    bool isSelected() const { return m_bSelected; }
    void setCaption(const QString& caption);
    const QString& caption() const { return m_strCaption; }
    int commandId() const { return m_nCommandId; }

    int faceBitmap() const;

    QSize sizeHint() const override;

  signals:
    // A press on a tab that is not the selected one; the owner switches the page and the selection.
    void command(int commandId);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    int m_nCommandId;
    bool m_bSelected = false;
    QString m_strCaption;
};

}  // namespace qlt::controls
