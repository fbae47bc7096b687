#pragma once
// The record of one collection entry. Every property has a read (its name)
// and a write (Let + name); the writes of the properties marked dirty set
// IsDirty first. AltName, ZoomLevel, Balance and Playspeed supply a default
// when read unset.

#include <QString>

#include "config/Variant.h"

namespace config {

// type, name, write marks dirty: the properties without a read default, in
// the order of the record.
#define MOVIE_PROPERTIES(X)              \
    X(bool, DispChange, false)           \
    X(qint32, Dsize, false)              \
    X(qint32, Ypos, false)               \
    X(qint32, XPos, false)               \
    X(Variant, DurationTime, false)      \
    X(Variant, DurationFrames, false)    \
    X(bool, LoopForever, true)           \
    X(Variant, LoopEnd, true)            \
    X(Variant, LoopStart, true)          \
    X(Variant, Notes, true)              \
    X(Variant, TexttoDisplay, true)      \
    X(bool, Displaytext, true)           \
    X(qint16, Orderinplaylist, false)    \
    X(bool, LoopOnce, true)              \
    X(Variant, Resolution, false)        \
    X(qint16, volume, true)              \
    X(qint32, Playsize, true)            \
    X(QString, Size, false)              \
    X(QString, Path, false)              \
    X(QString, MovieName, false)         \
    X(bool, PlayFullScreen, true)        \
    X(bool, RemoteRepeat, false)         \
    X(bool, IsTrueQT4, false)            \
    X(bool, IsTrueRM, false)             \
    X(qint32, Vsize, false)              \
    X(bool, IsHTML, false)               \
    X(bool, IsStill, false)              \
    X(qint16, StillH, false)             \
    X(qint16, StillW, false)             \
    X(Variant, SelectedTime, false)      \
    X(Variant, ThumbfilePath, false)     \
    X(QString, ThumbFileName, false)     \
    X(Variant, Copyrightdata, false)     \
    X(QString, FType, false)             \
    X(bool, AttribC, false)              \
    X(bool, AttribA, false)              \
    X(bool, AttribS, false)              \
    X(bool, AttribH, false)              \
    X(bool, AttribRO, false)             \
    X(QString, Modified, false)          \
    X(QString, Accessed, false)          \
    X(QString, Created, false)           \
    X(Variant, TextFontsize, true)       \
    X(Variant, TextColor, true)          \
    X(Variant, TextFont, true)           \
    X(bool, IsDirty, false)

class Movie {
public:
#define MOVIE_DECLARE(Type, Name, Dirty) \
    Type Name() const { return m_##Name; } \
    void Let##Name(const Type& value) {   \
        if (Dirty) m_IsDirty = true;      \
        m_##Name = value;                 \
    }
    MOVIE_PROPERTIES(MOVIE_DECLARE)
#undef MOVIE_DECLARE

    // An empty name reads as " " and is stored so.
    QString AltName();
    void LetAltName(const QString& value) { m_AltName = value; }

    // Unset or "" reads as "100%"; the stored value stays.
    Variant ZoomLevel() const;
    void LetZoomLevel(const Variant& value);

    // Unset reads as the centre 1000 and is stored so; "" stays "".
    Variant Balance();
    void LetBalance(const Variant& value);

    // 0 reads as the normal speed 10 and is stored so.
    qint32 Playspeed();
    void LetPlayspeed(qint32 value);

private:
#define MOVIE_FIELD(Type, Name, Dirty) Type m_##Name{};
    MOVIE_PROPERTIES(MOVIE_FIELD)
#undef MOVIE_FIELD
    QString m_AltName;
    Variant m_ZoomLevel;
    Variant m_Balance;
    qint32 m_Playspeed = 0;
};

}  // namespace config
