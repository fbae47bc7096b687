#pragma once
// The files of folders, as a person expects to see them added: each folder's
// entries in natural name order ("clip2" before "clip10"), files and
// subfolders mixed, hidden ones (a name starting with ".") left out, every
// folder visited once however symbolic links loop.

#include <QString>
#include <functional>
#include <vector>

struct WalkedFile {
    QString path;
    QString skipped;  // why it cannot be added (an unreadable folder, a loop); empty otherwise
};

// Calls found for each file (or problem) under folder, in order.
void WalkFolder(const QString& folder, const std::function<void(const WalkedFile&)>& found);

// Natural order of two names.
bool NaturalLess(const QString& a, const QString& b);
