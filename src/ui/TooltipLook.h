#pragma once

#include <QObject>
#include <QProxyStyle>

class QApplication;

namespace qlt::ui {

inline constexpr int kTipShowDelayMs = 1000;
inline constexpr int kTipHideDelayMs = 5000;

// Tips appear after a second's rest of the mouse.
class TipTimingStyle final : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};

// Shows a widget's own tip for five seconds; item views' cell tips pass by.
class TipDuration final : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The program's tip colours (pale blue ground, blue text) and delays.
void applyTooltipLook(QApplication& app);

}  // namespace qlt::ui
