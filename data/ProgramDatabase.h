#pragma once

#include "data/FileLocations.h"

class Database;
class DatabaseSession;

// The file locations of this installation, with the paths of its settings file read in.
FileLocations programLocations();

// The computer other than the first one in the roster that holds the database open, or empty
// text when only one computer uses it.
QString otherComputerHolding(Database &connection);
// "The application is in use on computer X and cannot be started a second time."
QString otherComputerMessage(const QString &computer);

// Opens the database file into session as start-up does, for work without windows: refuses a
// database that another computer holds open, brings it to the current version and opens the
// shared recordsets. Throws RuntimeErrorException.
void openProgramDatabase(DatabaseSession &session, const QString &dbFile);
