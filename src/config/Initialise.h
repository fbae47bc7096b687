#pragma once

#include <QString>

namespace config {

// Reads the configuration file (collectionPath, or the program INI file
// beside the program when it is empty) into gSettings and gMovies, sets the
// input-rule flags from the run-mode setting, writes missing defaults back
// and drops the entries whose file has gone. Ends the program on a file it
// cannot use (EndCannotShow: says why, status vb::kCouldNotShow).
void Initialise(const QString& collectionPath);

// The file the last Initialise read (its ConfigurationFile); empty before.
const QString& InitialisedFile();

// Whether any entry of that file is a web page, read as Initialise reads it
// but without writing or logging anything: asked before the application is
// made, so that the browser engine is prepared only for shows with pages.
bool CollectionHasPages(const QString& collectionPath);

// The ErrorLog setting of that collection as Initialise reads it, without
// writing anything; empty when it has none (LogError then uses its own
// default): for a start that ends before Initialise.
QString ErrorLogOf(const QString& collectionPath);

// The configuration file Initialise reads for a collection path.
QString ConfigurationFile(const QString& collectionPath);

}  // namespace config
