#pragma once
// The program-wide settings record: a plain property bag. Every property has
// a Get (the property's name) and a Let (Let + name); SoundCard also has a
// Set for an object. Most properties describe options of the wider product
// that this program only carries.

#include <QString>

#include "config/Variant.h"

namespace config {

// type, name: the plain properties in the order of the record.
#define ZOR2_PLAIN_PROPERTIES(X) \
    X(bool, CDDBMode)            \
    X(bool, HideZOROnWebshow)    \
    X(QString, SkinLoadfrom)     \
    X(bool, LoopPreviews)        \
    X(QString, TitleDispClr)     \
    X(bool, UseWMPfirst)         \
    X(bool, ShowPlayList)        \
    X(Variant, TextSize)         \
    X(QString, TextColor)        \
    X(Variant, TextStyle)        \
    X(Variant, TextFont)         \
    X(bool, IsDirty)

// type, name, Let marks dirty, Get marks dirty, Let source name, Get source
// name: the guarded
// properties, whose run-time errors reach the caller as class error 9999.
#define ZOR2_GUARDED_PROPERTIES(X)                                                      \
    X(QString, LoadFrom, true, false, "ZOR2:LoadFrom", "ZOR2:LoadFrom")                        \
    X(QString, BmpSaveAs, true, true, "ZOR2:BmpSaveAs", "ZOR2:BmpSaveAs")                     \
    X(QString, DisplayColor, true, false, "ZOR2:DisplayColor", "ZOR2:DisplayColor")            \
    X(bool, MuteAtStart, true, false, "ZOR2:MuteAtStart", "ZOR2:MuteAtStart")                  \
    X(bool, ToolTipsOn, false, false, "ZOR2:ToolTips", "ZOR2:ToolTipsOn")                      \
    X(bool, ShowSplash, false, false, "ZOR2:ShowSplash", "ZOR2:ShowSplash")                    \
    X(QString, EMail, false, false, "ZOR2:EMail", "ZOR2:EMail")                                \
    X(QString, ReplyTo, false, false, "ZOR2:ReplyTo", "ZOR2:ReplyTo")                          \
    X(QString, Organisation, false, false, "ZOR2:Organisation", "ZOR2:Organisation")           \
    X(QString, UserName, false, false, "ZOR2:UserName", "ZOR2:UserName")                       \
    X(QString, Support, false, false, "ZOR2:Support", "ZOR2:Support")                          \
    X(qint32, MoviesInGroup, true, false, "ZOR2:MoviesInGroup", "ZOR2:MoviesInGroup")          \
    X(QString, DefaultStartupVid, false, false, "ZOR2:DefaultStartupVid", "ZOR2:DefaultStartupVid") \
    X(QString, ErrorLog, false, false, "ZOR2:ErrorLog", "ZOR2:ErrorLog")                       \
    X(QString, RunMode, false, false, "ZOR2:RunMode", "ZOR2:RunMode")                          \
    X(qint16, DelayTimer, false, false, "ZOR2:Delaytimer", "ZOR2:DelayTimer")                  \
    X(bool, CDAutoAnim, false, false, "ZOR2:CDAutoAnim", "ZOR2:CDAutoAnim")                    \
    X(bool, AnimFS, false, false, "ZOR2:AnimFS", "ZOR2:AnimFS")                                \
    X(bool, AnimMovRand, false, false, "ZOR2:AnimMovRand", "ZOR2:AnimMovRand")                 \
    X(bool, ShowVids, false, false, "ZOR2:ShowVids", "ZOR2:ShowVids")                          \
    X(bool, PreviewQT4OnAdd, false, false, "ZOR2:PreviewQT4OnAdd", "ZOR2:PreviewQT4OnAdd")     \
    X(QString, SkinPath, false, false, "ZOR2:SkinPath", "ZOR2:SkinPath")                       \
    X(QString, DefZoom, false, false, "ZOR2:DefZoom", "ZOR2:DefZoom")                          \
    X(bool, LoopCol, false, false, "ZOR2:LoopCol", "ZOR2:LoopCol")                             \
    X(qint16, StillDelayTimer, false, false, "ZOR4:StillDelaytimer", "ZOR4:StillDelayTimer")

class ZOR2 {
public:
#define ZOR2_DECLARE(Type, Name, ...) \
    Type Name();                      \
    void Let##Name(const Type& value);
    ZOR2_PLAIN_PROPERTIES(ZOR2_DECLARE)
    ZOR2_GUARDED_PROPERTIES(ZOR2_DECLARE)
#undef ZOR2_DECLARE

    // Holds a plain value (Let) or an object (Set); the Get hands back the
    // object reference or a copy of the value.
    Variant SoundCard();
    void LetSoundCard(const Variant& value);
    void SetSoundCard(const Variant::Object& object);

    // Reads back with " - beta" when the stored text ends with "0".
    QString ProgramVersion();
    void LetProgramVersion(const QString& value);

    // Always reads false: its Let stores nothing.
    bool ShowAnimtext();
    void LetShowAnimtext(const bool& value);

private:
#define ZOR2_FIELD(Type, Name, ...) Type m_##Name{};
    ZOR2_PLAIN_PROPERTIES(ZOR2_FIELD)
    ZOR2_GUARDED_PROPERTIES(ZOR2_FIELD)
#undef ZOR2_FIELD
    Variant m_SoundCard;
    QString m_ProgramVersion;
};

}  // namespace config
