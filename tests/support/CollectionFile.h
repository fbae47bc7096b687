#pragma once
// Builds collection files for tests and benchmarks: the settings sections
// and, per entry, its four sections with every position filled.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>

namespace testsupport {

struct EntrySpec {
    QString movieName;  // Main p1
    QString path;       // Main p2
    // Positions to replace, by section suffix and 1-based position ("Main", 6) -> text.
    std::map<std::pair<QString, int>, QString> overrides;
    QStringList omittedSections;  // e.g. "Audio": the section is left out
};

struct CollectionSpec {
    QString runAs = QStringLiteral("SCREENSAVER");
    QString errorLog = {};  // empty: the key is there with no value
    QString moviesInGroup = {};  // empty: the number of entries
    QString delayTimer = QStringLiteral("12"), stillDelayTimer = QStringLiteral("7");  // seconds
    QString user = QStringLiteral("UserName=Ann\nOrganisation=Org\nReplyTo=ann@example.org\nEMail=ann@example.org\n");
    QList<EntrySpec> entries = {};
};

QByteArray CollectionText(const CollectionSpec& spec);

}  // namespace testsupport
