#pragma once

#include <QString>

// Reads the configuration file (collectionPath, or the program INI file
// beside the program when it is empty) into gSettings and gMovies, sets the
// input-rule flags from the run-mode setting, writes missing defaults back
// and drops the entries whose file has gone. Ends the program on a file it
// cannot use.
void Initialise(const QString& collectionPath);

// The configuration file Initialise reads for a collection path.
QString ConfigurationFile(const QString& collectionPath);
