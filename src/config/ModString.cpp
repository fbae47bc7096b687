#include "config/ModString.h"

namespace config {

namespace {
QString gTokenRest;
}

QString FileNameFromPath(const QString& path) {
    QString rest = path;
    // Linux paths: "/" separates parts as "\" does, and the leading "/" of an
    // absolute path goes like a drive prefix. Addresses keep their slashes.
    if (!rest.contains(QStringLiteral("://"))) {
        if (rest.startsWith(u'/') && !rest.startsWith(QStringLiteral("//"))) rest.remove(0, 1);
        rest.replace(u'/', u'\\');
    }
    if (rest.left(2).endsWith(u':')) {
        rest = rest.mid(3);
    } else if (rest.startsWith(QStringLiteral("\\\\"))) {
        rest = rest.mid(2);
        const qsizetype server = rest.indexOf(u'\\');
        rest = rest.mid(server + 1);  // no server separator: the whole rest
    }
    // With nothing after the prefix there is nothing to split; the shared
    // tokenizer would go on with an earlier call's remainder.
    if (rest.isEmpty()) return {};
    QString last;
    for (QString part = NextToken(rest, QStringLiteral("\\")); !part.isEmpty();
         part = NextToken(QString(), QStringLiteral("\\")))
        last = part;
    return last;
}

QString CutAtNul(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

QString NextToken(const QString& text, const QString& delimiters) {
    if (!text.isEmpty()) gTokenRest = text;
    if (delimiters.isEmpty()) return gTokenRest;
    for (const QChar delimiter : delimiters) {
        const qsizetype p = gTokenRest.indexOf(delimiter);
        if (p >= 0) {
            const QString token = gTokenRest.left(p);
            gTokenRest = gTokenRest.mid(p + 1);
            return token;
        }
    }
    QString token = gTokenRest;
    gTokenRest.clear();
    return token;
}

}  // namespace config
