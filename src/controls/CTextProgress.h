#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <cstdint>

namespace qlt::controls {

// The colours and font choice one progress phase paints with. The defaults are the control's look before
// its first `Init`.
struct ProgressLook {
    QColor bar{224, 224, 224};
    QColor track{Qt::white};
    QColor text{Qt::black};
    QColor back{Qt::white};
    QColor line{Qt::black};  // carried along for the host; nothing visible uses it
    bool smallFont = false;
};

// Captions the control puts in place of its own when the host drives it in the wrong order.
inline constexpr const char* kNotInitializedText = "Not Initialized !!!";
inline constexpr const char* kNoRangeText = "No Max-Range defined";

// Percentage of `value` in a range of `range` steps (range > 0), by whole-number division, so the last
// step of a range shows just under 100. A negative value counts as 0; the result saturates at INT32_MAX.
std::int32_t progressPercent(std::int32_t value, std::uint32_t range);

// Width in pixels of the filled part of a bar `clientWidth` wide at `percent`: one pixel even at 0 and one
// more than the whole width at 100, wrapping at 65536 as the drawing code always has.
int progressBarWidth(int clientWidth, std::int32_t percent);

// Text shown while a position is set: the caption, a blank, the value and the percentage.
QString progressText(const QString& caption, std::int32_t value, std::int32_t percent);

// Character heights of the large and the small caption font for a control `clientHeight` high.
int progressLargeFontHeight(int clientHeight);
int progressSmallFontHeight(int clientHeight);

// The status line's progress bar with its caption painted over it. The host starts each phase with
// `Init`, names it with `SetText`, then gives a range and positions.
class CTextProgress : public QWidget {
    Q_OBJECT

  public:
    explicit CTextProgress(QWidget* parent = nullptr);

    void Init(const QString& caption, const ProgressLook& look = ProgressLook());
    void SetRange(std::uint32_t n);
    void SetPos(std::int32_t v);
    void SetText(const QString& text);

    bool isInitialised() const { return m_bInitialised; }
    const QString& caption() const { return m_strCaption; }
    const QString& shownText() const { return m_strShown; }
    std::uint32_t range() const { return m_nRange; }
    std::int32_t currentValue() const { return m_nCurVal; }
    std::int32_t currentPercent() const { return m_nCurPct; }
    const ProgressLook& look() const { return m_look; }
    int barWidth() const { return progressBarWidth(width(), m_nCurPct); }

    QSize sizeHint() const override;

  signals:
    // A click on the bar, or Space, Return or Enter while it has the focus; the host answers it with the
    // error details.
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void paintBar(QPainter& painter) const;
    void paintEtchedEdge(QPainter& painter) const;

    bool m_bInitialised = false;
    QString m_strShown;
    QString m_strCaption;
    std::uint32_t m_nRange = 0;
    std::int32_t m_nCurVal = 0;
    std::int32_t m_nCurPct = 0;
    ProgressLook m_look;
};

}  // namespace qlt::controls
