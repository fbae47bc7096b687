#include "config/ZOR2.h"

#include "errors/modErrorHandling.h"
#include "platform/vb/VbError.h"

using namespace errors;

namespace config {

namespace {

// The guarded property procedures turn any run-time failure of their body
// into class error 9999 with the procedure's source text.
template <class Body>
auto Guarded(const char* source, const char* procedure, Body&& body) {
    return vb::OnError(body, [&](const vb::VbError&) -> decltype(body()) {
        RaiseClassError(9999, QString::fromLatin1(source) + QString::fromLatin1(procedure));
    });
}

constexpr const char* kLet = " Property Let";
constexpr const char* kSet = " Property Set";
constexpr const char* kGet = " Property Get";

}  // namespace

#define ZOR2_DEFINE_PLAIN(Type, Name)                      \
    Type ZOR2::Name() { return m_##Name; }                 \
    void ZOR2::Let##Name(const Type& value) { m_##Name = value; }
ZOR2_PLAIN_PROPERTIES(ZOR2_DEFINE_PLAIN)
#undef ZOR2_DEFINE_PLAIN

#define ZOR2_DEFINE_GUARDED(Type, Name, DirtyOnLet, DirtyOnGet, LetSource, GetSource) \
    Type ZOR2::Name() {                                                                \
        return Guarded(GetSource, kGet, [&] {                                          \
            if (DirtyOnGet) m_IsDirty = true;                                          \
            return m_##Name;                                                           \
        });                                                                            \
    }                                                                                  \
    void ZOR2::Let##Name(const Type& value) {                                          \
        Guarded(LetSource, kLet, [&] {                                                 \
            if (DirtyOnLet) m_IsDirty = true;                                          \
            m_##Name = value;                                                          \
        });                                                                            \
    }
ZOR2_GUARDED_PROPERTIES(ZOR2_DEFINE_GUARDED)
#undef ZOR2_DEFINE_GUARDED

Variant ZOR2::SoundCard() {
    return Guarded("ZOR2:SoundCard", kGet, [&] { return m_SoundCard; });
}

void ZOR2::LetSoundCard(const Variant& value) {
    Guarded("ZOR2:SoundCard", kLet, [&] { m_SoundCard = value; });
}

void ZOR2::SetSoundCard(const Variant::Object& object) {
    Guarded("ZOR2:SoundCard", kSet, [&] { m_SoundCard = Variant(object); });
}

QString ZOR2::ProgramVersion() {
    return Guarded("ZOR2:ProgramVersion", kGet, [&] {
        return m_ProgramVersion.endsWith(u'0') ? m_ProgramVersion + QStringLiteral(" - beta") : m_ProgramVersion;
    });
}

void ZOR2::LetProgramVersion(const QString& value) {
    Guarded("ZOR2:ProgramVersion", kLet, [&] { m_ProgramVersion = value; });
}

bool ZOR2::ShowAnimtext() {
    return Guarded("ZOR2:ShowAnimtext", kGet, [] { return false; });
}

void ZOR2::LetShowAnimtext(const bool&) {}

}  // namespace config
