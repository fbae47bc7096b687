#include "config/Movie.h"

namespace config {

QString Movie::AltName() {
    if (m_AltName.isEmpty()) m_AltName = QStringLiteral(" ");
    return m_AltName;
}

Variant Movie::ZoomLevel() const {
    if (m_ZoomLevel.IsEmpty() || m_ZoomLevel == Variant(QString())) return Variant(QStringLiteral("100%"));
    return m_ZoomLevel;
}

void Movie::LetZoomLevel(const Variant& value) {
    m_IsDirty = true;
    m_ZoomLevel = value;
}

Variant Movie::Balance() {
    if (m_Balance.IsEmpty()) m_Balance = Variant(qint16{1000});
    return m_Balance;
}

void Movie::LetBalance(const Variant& value) {
    m_IsDirty = true;
    m_Balance = value;
}

qint32 Movie::Playspeed() {
    if (m_Playspeed == 0) m_Playspeed = 10;
    return m_Playspeed;
}

void Movie::LetPlayspeed(qint32 value) {
    m_IsDirty = true;
    m_Playspeed = value;
}

}  // namespace config
