#include "platform/ui/BlackBackground.h"

#include <QPalette>
#include <QWidget>

namespace platform {

void FillBlack(QWidget& widget) {
    QPalette black = widget.palette();
    black.setColor(QPalette::Window, Qt::black);
    widget.setPalette(black);
    widget.setAutoFillBackground(true);
}

}  // namespace platform
