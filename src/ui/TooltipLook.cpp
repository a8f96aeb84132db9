#include "ui/TooltipLook.h"

#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

#include "controls/ControlStyle.h"

namespace qlt::ui {

namespace {

constexpr std::uint32_t kTipBack = 0xFFF0C8;  // as 0x00BBGGRR
constexpr std::uint32_t kTipText = 0xFF6000;

}  // namespace

int TipTimingStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                              QStyleHintReturn* returnData) const {
    if (hint == SH_ToolTip_WakeUpDelay) return kTipShowDelayMs;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

int TipTimingStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    // Tight margins: the tips are several short lines.
    if (metric == PM_ToolTipLabelFrameWidth) return 1;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

bool TipDuration::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->toolTip().isEmpty()) return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos(), widget->toolTip(), widget, QRect(), kTipHideDelayMs);
    return true;
}

void applyTooltipLook(QApplication& app) {
    app.setStyle(new TipTimingStyle);
    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, controls::fromColorRef(kTipBack));
    tips.setColor(QPalette::ToolTipText, controls::fromColorRef(kTipText));
    QToolTip::setPalette(tips);
    app.installEventFilter(new TipDuration(&app));
}

}  // namespace qlt::ui
