#pragma once

#include <QObject>
#include <QString>

namespace qlt {

// Where the window's notices go: a notice with a summary, a body and one
// action, the default one (a click on the notice). The answer comes later,
// from the event loop, as one of the signals.
class NoticeService : public QObject {
    Q_OBJECT

  public:
    using QObject::QObject;

    virtual void show(const QString& summary, const QString& body) = 0;

  signals:
    // The user chose the default action of the latest notice.
    void activated();
    // Nothing on the desktop took the notice: the caller shows it another way.
    void unanswered(const QString& summary, const QString& body);
};

}  // namespace qlt
