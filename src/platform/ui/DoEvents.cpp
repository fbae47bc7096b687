#include "platform/ui/DoEvents.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace platform {

void DoEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void WaitForEvents() { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); }

void WaitForEvents(int limitMs) {
    QTimer wake;  // its expiry is the event that ends the sleep at the limit
    wake.setSingleShot(true);
    wake.start(limitMs);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

}  // namespace platform
