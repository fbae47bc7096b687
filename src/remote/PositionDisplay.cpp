// The position display: the player's position and the clip's length in
// yellow under the slider, refreshed every second, switched by the slider.

#include <QLocale>
#include <QTimer>

#include "platform/ui/Twips.h"
#include "platform/vb/VbError.h"
#include "remote/FrmControl.h"
#include "show/Med_Saver.h"

using namespace show;

namespace remote {

namespace {

// Seconds rounded to two decimals, both always shown, the whole part without
// leading zeros (".25" below one second) and without grouping, the decimal
// separator the user's locale's.
QString Seconds(double value) {
    QString text = QString::number(value, 'f', 2);
    if (text.startsWith(QLatin1String("0."))) text.remove(0, 1);
    if (text.startsWith(QLatin1String("-0."))) text.remove(1, 1);
    text.replace(u'.', QLocale::system().decimalPoint());
    return text;
}

}  // namespace

void FrmControl::Lbl_ShowSlider_Click() {
    if (!ShowWindowVisible() || Timer1->isActive()) {
        Timer1->stop();
        Lbl_Tim->hide();
        return;
    }
    Timer1->start();
    Lbl_Tim->show();
}

void FrmControl::Timer1_Timer() {
    // The label's own visibility: the display runs on while the window is hidden.
    if (!Lbl_Tim->isHidden() && ShowWindowVisible() && !ShowPlayer().FileName().isEmpty()) {
        const double position = ShowPlayer().CurrentPosition(), length = ShowPlayer().Duration();
        Lbl_Tim->LetCaption(Seconds(position) + QStringLiteral("\r\n of \r\n") + Seconds(length));
        platform::TwipsRect place = platform::Geometry(*Lbl_Tim);
        place.Left = platform::Geometry(*Lbl_ShowSlider).Left;
        platform::SetGeometry(*Lbl_Tim, place);
    }
    if (!ShowWindowVisible()) {
        Lbl_Tim->hide();
        Timer1->stop();
    }
}

}  // namespace remote
